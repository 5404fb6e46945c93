#include "windows/trend_window.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include "app_state.h"
#include "platform/text_format.h"
#include "windows/chart_widget.h"
#include "windows/shell.h"

namespace vantrel {

namespace {

constexpr int k_blink_ms = 500;

}  // namespace

Trend_Window::Trend_Window(Shell& shell, QWidget* parent)
    : QWidget(parent),
      shell_(shell),
      picture_(new Chart_Widget(this)),
      label_(new QLabel(this)),
      slider_(new QSlider(Qt::Horizontal, this)),
      timer_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Series Trend and Residuals"));
    QFont font(QStringLiteral("Courier New"), 8);
    font.setStyleHint(QFont::Monospace);
    label_->setFont(font);
    label_->setCursor(Qt::PointingHandCursor);
    label_->setToolTip(QStringLiteral("Click to choose the candle"));
    label_->installEventFilter(this);
    slider_->setRange(0, 10);
    slider_->setPageStep(1);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setValue(selection_.Triangular_Width);
    slider_->setToolTip(QStringLiteral("Triangular width"));
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        selection_.Triangular_Width = value;
        Show_Stat_Data();
    });
    connect(picture_, &Chart_Widget::Size_Changed, this, &Trend_Window::Show_Stat_Data);
    connect(picture_, &Chart_Widget::Mouse_Down, this, [this](QPointF at, Qt::MouseButton button) {
        if (button == Qt::LeftButton) Picture1_Click(at);
    });
    connect(timer_, &QTimer::timeout, this, &Trend_Window::Blink);
    timer_->start(k_blink_ms);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(6, 4, 6, 0);
    top->addWidget(label_);
    top->addStretch(1);
    auto* width = new QLabel(QStringLiteral("Triangular &width"), this);
    width->setBuddy(slider_);
    top->addWidget(width);
    top->addWidget(slider_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(picture_, 1);
}

void Trend_Window::Show_Stat_Data() {
    App_State& app = shell_.State();
    if (!app.ds.File_Loaded || !isVisible()) return;
    picture_->Fit_Surface();
    vantrel::Show_Stat_Data(picture_->Surface(), Picture2, app.candles, selection_, app.ds, app.dec, app.settings, view_);
    label_->setText(QString::fromStdString(Trend_Label_Text(app.candles)));
    picture_->Changed();
}

void Trend_Window::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Show_Stat_Data();
}

bool Trend_Window::eventFilter(QObject* watched, QEvent* event) {
    if (watched == label_ && event->type() == QEvent::MouseButtonRelease) {
        Label1_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Trend_Window::Label1_Click() {
    Candle_Tables& tables = shell_.State().candles;
    if (tables.candles <= 0) return;
    const QString answer = QInputDialog::getText(
        this, QStringLiteral("Trend Candle Selection"),
        QStringLiteral("Enter Candle Number from 1 to ") + QString::fromStdString(Format(tables.candles, "0")),
        QLineEdit::Normal, QString::number(std::max(tables.selected, 0) + 1));
    if (const auto candle = Candle_Answer(answer.toStdString(), tables.candles)) {
        tables.selected = *candle;
        emit Candle_Chosen();
    }
    Show_Stat_Data();
}

void Trend_Window::Picture1_Click(QPointF at) {
    const Candle_Tables& tables = shell_.State().candles;
    if (Pick_Table_Line(at.y(), picture_->Surface().Height(), view_.line_height, tables, selection_)) Show_Stat_Data();
}

void Trend_Window::Blink() {
    grey_ = !grey_;
    QPalette p = label_->palette();
    p.setColor(QPalette::WindowText, grey_ ? QColor(128, 128, 128) : QColor(0, 0, 0));
    label_->setPalette(p);
}

}  // namespace vantrel
