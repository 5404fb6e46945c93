#include "windows/information_window.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "windows/report_box.h"

namespace vantrel {

Information_Window::Information_Window(QWidget* parent) : QWidget(parent), text_(Make_Report_Box(this, 8)) {
    setWindowTitle(QStringLiteral("Vantrel Information"));
    QPalette colours = text_->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Window));
    text_->setPalette(colours);
    text_->setFrameShape(QFrame::NoFrame);
    setFont(text_->font());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);
}

void Information_Window::Show_Text(const std::string& text) { Set_Report_Text(*text_, text); }

}  // namespace vantrel
