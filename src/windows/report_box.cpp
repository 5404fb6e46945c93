#include "windows/report_box.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

namespace vantrel {

QPlainTextEdit* Make_Report_Box(QWidget* parent, int point_size) {
    auto* box = new QPlainTextEdit(parent);
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Alignment comes from the labels' padding, so any fixed-pitch face will do where
    // "Courier New" is not installed.
    QFont font(QStringLiteral("Courier New"), point_size);
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(point_size);
    box->setFont(font);
    return box;
}

void Set_Report_Text(QPlainTextEdit& box, const std::string& report) {
    // The box wants one line break for each CR LF.
    QString lines = QString::fromStdString(report);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setPlainText(lines);
}

}  // namespace vantrel
