#pragma once
// The trend window "Series Trend and Residuals": one candle of the series chart with its
// trend and residuals, the candle's statistics table, the width slider and the candle label.

#include <QWidget>

#include "analysis/trend_chart.h"
#include "platform/qt/qimage_surface.h"

class QLabel;
class QSlider;
class QTimer;

namespace vantrel {

class Chart_Widget;
class Shell;

class Trend_Window : public QWidget {
    Q_OBJECT

public:
    explicit Trend_Window(Shell& shell, QWidget* parent = nullptr);

    // Redraws from the candle tables, when a file is loaded and the window is shown.
    void Show_Stat_Data();

    QSize sizeHint() const override { return {640, 600}; }

    Trend_Selection& Selection() { return selection_; }
    const Trend_View& View() const { return view_; }
    Chart_Widget& Picture1() { return *picture_; }
    QLabel& Label1() { return *label_; }
    QSlider& Slider1() { return *slider_; }
    QTimer& Timer1() { return *timer_; }

signals:
    // The candle label picked another candle: the series chart shows it inverted.
    void Candle_Chosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Label1_Click();
    void Picture1_Click(QPointF at);
    void Blink();

    Shell& shell_;
    Chart_Widget* picture_;
    QImage_Surface Picture2;  // scratch for turned text
    QLabel* label_;
    QSlider* slider_;
    QTimer* timer_;
    Trend_Selection selection_;
    Trend_View view_;
    bool grey_ = false;
};

}  // namespace vantrel
