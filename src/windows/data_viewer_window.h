#pragma once
// The data viewer "Vantrel Viewer": every value of one cell of the Sub Set as text.

#include <QWidget>
#include <array>
#include <cstdint>

class QAction;
class QPlainTextEdit;

namespace vantrel {

class Shell;

class Data_Viewer_Window : public QWidget {
    Q_OBJECT

public:
    explicit Data_Viewer_Window(Shell& shell, QWidget* parent = nullptr);

    // Shows Sub Set slot e at contour row r (0 = the top row); nothing when the window is
    // minimised or the cell is not one the Sub Set holds and shows.
    void Update_Data_View(std::int32_t e, std::int32_t r);
    // Shows the profile ensemble Cursor_Ens at the row last shown.
    void Show_Cursor_Ensemble();

    QSize sizeHint() const override;

    QPlainTextEdit& Text1() { return *text_; }
    QAction& Size_Item(int i) { return *sizes_[static_cast<std::size_t>(i)]; }
    QAction& Bold_Item() { return *bold_; }

private:
    void Select_Font_Size(int i);

    Shell& shell_;
    QPlainTextEdit* text_;
    std::array<QAction*, 8> sizes_{};
    QAction* bold_;
    std::int32_t row_ = 0;
};

}  // namespace vantrel
