#include "windows/screenshot.h"

#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <cstdio>

#include "windows/data_viewer_window.h"
#include "windows/file_details_window.h"
#include "windows/main_window.h"

namespace vantrel {

namespace {

int Fail(const QString& line) {
    std::fprintf(stderr, "%s\n", qPrintable(line));
    return 1;
}

}  // namespace

void Quiet_Qt_Notes() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
    });
}

QStringList Screenshot_Window_Names() {
    return {QStringLiteral("main"),        QStringLiteral("whole"),   QStringLiteral("sub"),
            QStringLiteral("information"), QStringLiteral("details"), QStringLiteral("viewer"),
            QStringLiteral("track"),       QStringLiteral("trend")};
}

namespace {

// The frame of the named window, opened and filled as a user would see it after the load.
QMdiSubWindow& Open_Named_Window(Main_Window& window, const QString& name, const QString& file) {
    if (name == QStringLiteral("sub")) return window.Sub_Frame();
    if (name == QStringLiteral("information")) return window.Info_Frame();
    if (name == QStringLiteral("details")) {
        window.Details_Frame().show();
        window.Details().Show_File_Details(file.toStdString());
        return window.Details_Frame();
    }
    if (name == QStringLiteral("track")) {
        window.Menus().Show_Track->setChecked(true);
        return window.Track_Frame();
    }
    if (name == QStringLiteral("trend")) {
        window.Show_Trend();
        return window.Trend_Frame();
    }
    if (name == QStringLiteral("viewer")) {
        window.Menus().Show_Viewer->setChecked(true);
        return window.Viewer_Frame();
    }
    return window.Whole_Frame();
}

}  // namespace

int Run_Screenshot(const QStringList& arguments) {
    QString out, file, name = QStringLiteral("main");
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QStringLiteral("--window")) {
            if (++i >= arguments.size()) return Fail(QStringLiteral("--window: a window name is needed"));
            name = arguments[i];
        } else if (out.isEmpty()) {
            out = a;
        } else if (file.isEmpty()) {
            file = a;
        } else {
            return Fail(QStringLiteral("usage: vantrel --screenshot OUT.png [--window NAME] FILE"));
        }
    }
    if (out.isEmpty() || file.isEmpty()) return Fail(QStringLiteral("usage: vantrel --screenshot OUT.png [--window NAME] FILE"));
    if (!Screenshot_Window_Names().contains(name)) {
        return Fail(QStringLiteral("--window: unknown window '%1' (%2)").arg(name, Screenshot_Window_Names().join(QStringLiteral(", "))));
    }

    Shell_Paths paths;
    paths.persist = false;
    Main_Window window(paths);
    window.quiet = true;
    window.resize(1024, 768);
    window.show();
    window.Place_Windows();
    QApplication::processEvents();
    if (name == QStringLiteral("track") || name == QStringLiteral("trend")) {
        // Three bins of the series chart, as a user picks them for these views.
        for (std::size_t bin : {2, 8, 14}) window.State().settings.Series_Bins_Setting[bin - 1] = true;
    }
    window.Open_File_Now(file.toStdString());
    if (!window.State().ds.File_Loaded) {
        return window.Last_Message().isEmpty() ? Fail(QStringLiteral("Not enough VALID ensembles")) : 1;
    }
    QMdiSubWindow& frame = Open_Named_Window(window, name, file);
    if (name != QStringLiteral("main") && !frame.isVisible()) frame.show();
    frame.raise();
    QApplication::processEvents();
    const QPixmap picture = name == QStringLiteral("main") ? window.grab() : frame.grab();
    if (!picture.save(out, "PNG")) return Fail(QStringLiteral("cannot write %1").arg(out));
    return 0;
}

}  // namespace vantrel
