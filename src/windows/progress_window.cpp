#include "windows/progress_window.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace vantrel {

Progress_Window::Progress_Window(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      bar_(new QProgressBar(this)),
      stop_(new QPushButton(QStringLiteral("&Stop"), this)) {
    setWindowTitle(QStringLiteral("File Loading..."));
    bar_->setRange(0, 100);
    bar_->setValue(0);
    bar_->setTextVisible(true);
    bar_->setFormat(QStringLiteral("%p%"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(bar_, 1);
    layout->addWidget(stop_);
    // About 3672 twips wide, as the window was designed.
    setMinimumWidth(fontMetrics().averageCharWidth() * 40);
    connect(stop_, &QPushButton::clicked, this, &Progress_Window::Stop_Clicked);
}

void Progress_Window::Show_Caption(const QString& caption) {
    setWindowTitle(caption);
    if (!isVisible()) {
        adjustSize();
        Place_Over_Owner();
        show();
    }
}

void Progress_Window::Set_Percent(int percent) { bar_->setValue(std::clamp(percent, 0, 100)); }

void Progress_Window::Place_Over_Owner() {
    const QWidget* owner = parentWidget();
    if (!owner) return;
    const QRect frame = owner->frameGeometry();
    const int left = frame.left() + (frame.width() - width()) / 2;
    const int top = frame.top() + frame.height() - 2 * height();
    move(std::max(left, 0), std::max(top, 0));
}

}  // namespace vantrel
