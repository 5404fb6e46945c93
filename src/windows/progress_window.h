#pragma once
// The "File Loading..." window: a progress bar in percent and a Stop button.

#include <QWidget>

class QProgressBar;
class QPushButton;

namespace vantrel {

class Progress_Window : public QWidget {
    Q_OBJECT

public:
    // A tool window over owner, which it centres itself on near its bottom edge.
    explicit Progress_Window(QWidget* owner);

    void Show_Caption(const QString& caption);
    void Set_Percent(int percent);

    QProgressBar& ProgressBar1() { return *bar_; }
    QPushButton& Stop_Button() { return *stop_; }

signals:
    void Stop_Clicked();

private:
    void Place_Over_Owner();

    QProgressBar* bar_;
    QPushButton* stop_;
};

}  // namespace vantrel
