#pragma once
// The "Vantrel Information" window: the survey text of the loaded file.

#include <QWidget>
#include <string>

class QPlainTextEdit;

namespace vantrel {

class Information_Window : public QWidget {
    Q_OBJECT

public:
    explicit Information_Window(QWidget* parent = nullptr);

    void Show_Text(const std::string& text);
    QPlainTextEdit& Text1() { return *text_; }

private:
    QPlainTextEdit* text_;
};

}  // namespace vantrel
