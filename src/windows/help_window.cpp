#include "windows/help_window.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QUrl>

namespace vantrel {

QString Find_Help_File(const QString& program_folder) {
    for (const QString& path : {program_folder + QStringLiteral("/docs/help.md"), QStringLiteral(VANTREL_HELP_FILE)}) {
        if (QFileInfo::exists(path)) return path;
    }
    return {};
}

Help_Window::Help_Window(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Vantrel Help"));
    setOpenExternalLinks(true);
    const QFontMetrics metrics(font());
    resize(metrics.horizontalAdvance(QLatin1Char('n')) * 110, metrics.height() * 45);
}

void Help_Window::Show_Page(const QString& path) {
    if (path.isEmpty()) {
        setPlainText(QStringLiteral("The help file docs/help.md was not found."));
        return;
    }
    setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
}

void Help_Window::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QTextBrowser::keyPressEvent(event);
}

}  // namespace vantrel
