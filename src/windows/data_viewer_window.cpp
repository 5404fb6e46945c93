#include "windows/data_viewer_window.h"

#include <QActionGroup>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "app_state.h"
#include "viewer/data_view.h"
#include "windows/report_box.h"
#include "windows/shell.h"

namespace vantrel {

namespace {

constexpr int k_sizes[] = {20, 15, 10, 8, 7, 6, 5, 4};  // points, in menu order
constexpr int k_start_size = 3;                         // "8"

}  // namespace

Data_Viewer_Window::Data_Viewer_Window(Shell& shell, QWidget* parent)
    : QWidget(parent), shell_(shell), text_(Make_Report_Box(this, k_sizes[k_start_size])) {
    setWindowTitle(QStringLiteral("Vantrel Viewer"));
    auto* bar = new QMenuBar(this);
    QMenu* font = bar->addMenu(QStringLiteral("Font"));
    QMenu* size = font->addMenu(QStringLiteral("Size"));
    auto* group = new QActionGroup(this);
    for (std::size_t i = 0; i < sizes_.size(); ++i) {
        sizes_[i] = size->addAction(QString::number(k_sizes[i]));
        sizes_[i]->setCheckable(true);
        group->addAction(sizes_[i]);
        const int index = static_cast<int>(i);
        connect(sizes_[i], &QAction::triggered, this, [this, index] { Select_Font_Size(index); });
    }
    sizes_[k_start_size]->setChecked(true);
    bold_ = font->addAction(QStringLiteral("Bold"));
    bold_->setCheckable(true);
    connect(bold_, &QAction::toggled, this, [this](bool on) {
        QFont f = text_->font();
        f.setBold(on);
        text_->setFont(f);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(bar);
    layout->addWidget(text_);
}

QSize Data_Viewer_Window::sizeHint() const {
    // 60 widths and 35 heights of the letter W in the starting font.
    const QFontMetrics metrics(text_->font());
    return {metrics.horizontalAdvance(QLatin1Char('W')) * 60, metrics.height() * 35};
}

void Data_Viewer_Window::Select_Font_Size(int i) {
    sizes_[static_cast<std::size_t>(i)]->setChecked(true);
    QFont f = text_->font();
    f.setPointSize(k_sizes[i]);
    text_->setFont(f);
}

void Data_Viewer_Window::Update_Data_View(std::int32_t e, std::int32_t r) {
    if (isMinimized() || (parentWidget() && parentWidget()->isMinimized())) return;
    const App_State& app = shell_.State();
    const std::optional<std::string> text = Data_View_Text(app.ds, app.dec, e, r);
    if (!text) return;
    row_ = r;
    const int caret = text_->textCursor().position();
    Set_Report_Text(*text_, *text);
    QTextCursor cursor = text_->textCursor();
    cursor.setPosition(std::min(caret, static_cast<int>(text_->document()->characterCount()) - 1));
    text_->setTextCursor(cursor);
}

void Data_Viewer_Window::Show_Cursor_Ensemble() {
    const Data_Set& ds = shell_.State().ds;
    Update_Data_View(ds.Cursor_Ens - ds.First_Ens, row_);
}

}  // namespace vantrel
