#include "windows/track_vector_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QInputDialog>
#include <QMenuBar>
#include <QVBoxLayout>

#include "analysis/track_vector.h"
#include "app_state.h"
#include "platform/text_format.h"
#include "windows/chart_widget.h"
#include "windows/shell.h"

namespace vantrel {

namespace {

// Checkable items of one menu of which exactly one is checked.
template <std::size_t N>
std::array<QAction*, N> Choice_Items(QWidget* owner, QMenu* menu, const std::array<const char*, N>& captions) {
    std::array<QAction*, N> items{};
    auto* group = new QActionGroup(owner);
    for (std::size_t i = 0; i < N; ++i) {
        items[i] = menu->addAction(QString::fromUtf8(captions[i]));
        items[i]->setCheckable(true);
        group->addAction(items[i]);
    }
    return items;
}

template <std::size_t N>
void Check_From(const std::array<QAction*, N>& items, const std::array<bool, N>& flags) {
    for (std::size_t i = 0; i < N; ++i) items[i]->setChecked(flags[i]);
}

template <std::size_t N>
std::array<bool, N> Only(std::size_t index) {
    std::array<bool, N> flags{};
    flags[index] = true;
    return flags;
}

}  // namespace

Track_Vector_Window::Track_Vector_Window(Shell& shell, QWidget* parent)
    : QWidget(parent), shell_(shell), chart_(new Chart_Widget(this)) {
    setWindowTitle(QStringLiteral("Vantrel Track Vector Time Series"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QMenuBar(this);
    layout->setMenuBar(bar);
    layout->addWidget(chart_);
    Build_Menus();
    Sync_Menus();
    chart_->setMouseTracking(true);
    connect(chart_, &Chart_Widget::Size_Changed, this, &Track_Vector_Window::Show_Track_Vector_Data);
    connect(chart_, &Chart_Widget::Mouse_Move, this, [this](QPointF at) { Mouse_Move(at); });
}

void Track_Vector_Window::Build_Menus() {
    auto* bar = static_cast<QMenuBar*>(layout()->menuBar());
    Settings& settings = shell_.State().settings;
    Track_Vector_Options& o = settings.Track_Options;

    Quit_Seismic = bar->addAction(QStringLiteral("E&xit"));
    connect(Quit_Seismic, &QAction::triggered, this, [this] {
        // The frame's close unchecks "&Track Vector" in the main window.
        QWidget* frame = parentWidget() ? parentWidget() : this;
        frame->close();
    });

    Animate_Menu = bar->addMenu(QStringLiteral("&Animate"));
    Animate_Track = {Animate_Menu->addAction(QStringLiteral("Go")), Animate_Menu->addAction(QStringLiteral("Stop")),
                     Animate_Menu->addAction(QStringLiteral("Rewind"))};
    Animate_Track[0]->setCheckable(true);
    for (int i = 0; i < 3; ++i)
        connect(Animate_Track[static_cast<std::size_t>(i)], &QAction::triggered, this, [this, i] { Animate(i); });

    QMenu* projection = bar->addMenu(QStringLiteral("&Projection"));
    Select_Auto = Choice_Items<3>(this, projection, {"Bottom Track", "Navigation Track", "Manual"});
    for (int i = 0; i < 3; ++i)
        connect(Select_Auto[static_cast<std::size_t>(i)], &QAction::triggered, this, [this, i] { Choose_Projection(i); });

    Select_Reference = bar->addAction(QStringLiteral("&Reference"));
    connect(Select_Reference, &QAction::triggered, this, [this] { shell_.Open_Chart_Options(5); });

    QMenu* display = bar->addMenu(QStringLiteral("&Display"));
    LeftToRight = display->addAction(QStringLiteral("Time &Origin on Left"));
    LeftToRight->setCheckable(true);
    connect(LeftToRight, &QAction::toggled, this, [this, &o](bool on) {
        o.LeftToRight = on;
        Show_Track_Vector_Data();
    });
    QMenu* speed = display->addMenu(QStringLiteral("&Speed Units"));
    Speed_Units = Choice_Items<3>(this, speed, {"Knots", "Meters Per Second", "Centimeters Per Second"});
    QMenu* depth = display->addMenu(QStringLiteral("&Depth Units"));
    Depth_Units = Choice_Items<3>(this, depth, {"Fathoms", "Meters", "Feet"});
    for (std::size_t i = 0; i < 3; ++i) {
        connect(Speed_Units[i], &QAction::triggered, this, [this, &o, i] {
            o.Speed_Units = Only<3>(i);
            Show_Track_Vector_Data();
        });
        connect(Depth_Units[i], &QAction::triggered, this, [this, &o, i] {
            o.Depth_Units = Only<3>(i);
            Show_Track_Vector_Data();
        });
    }
    QMenu* font = display->addMenu(QStringLiteral("&Font"));
    QMenu* size = font->addMenu(QStringLiteral("Size"));
    Select_Font_Size = Choice_Items<8>(this, size, {"20", "15", "10", "8", "7", "6", "5", "4"});
    for (std::size_t i = 0; i < Select_Font_Size.size(); ++i) {
        connect(Select_Font_Size[i], &QAction::triggered, this, [this, &o, i] {
            o.Select_Font_Size = Only<8>(i);
            Show_Track_Vector_Data();
        });
    }
    Select_Font_Bold = font->addAction(QStringLiteral("Bold"));
    Select_Font_Bold->setCheckable(true);
    connect(Select_Font_Bold, &QAction::toggled, this, [this, &o](bool on) {
        o.Select_Font_Bold = on;
        Show_Track_Vector_Data();
    });
}

void Track_Vector_Window::Sync_Menus() {
    const Track_Vector_Options& o = shell_.State().settings.Track_Options;
    const QSignalBlocker block_origin(LeftToRight), block_bold(Select_Font_Bold);
    Check_From(Select_Auto, Only<3>(static_cast<std::size_t>(Projection_Of(o))));
    Check_From(Speed_Units, o.Speed_Units);
    Check_From(Depth_Units, o.Depth_Units);
    Check_From(Select_Font_Size, o.Select_Font_Size);
    LeftToRight->setChecked(o.LeftToRight);
    Select_Font_Bold->setChecked(o.Select_Font_Bold);
}

void Track_Vector_Window::Choose_Projection(int index) {
    Track_Vector_Options& o = shell_.State().settings.Track_Options;
    o.Select_Auto = Only<3>(static_cast<std::size_t>(index));
    Select_Auto[static_cast<std::size_t>(index)]->setChecked(true);
    if (index == static_cast<int>(Projection_Source::k_manual)) {
        bool ok = false;
        const QString answer = QInputDialog::getText(
            this, QStringLiteral("Track Vector Time Series"), QStringLiteral("Enter Projection Angle \u00B1180\u00B0"),
            QLineEdit::Normal, QString::fromStdString(Format(o.ProjectionAngle, "0.00")), &ok);
        // An empty answer keeps the previous angle.
        if (ok && !answer.trimmed().isEmpty()) o.ProjectionAngle = Limit_Projection_Angle(Val(answer.toStdString()));
    }
    Sub_Set_Changed();
}

void Track_Vector_Window::Sub_Set_Changed() {
    // Computed when next drawn, also when the window is hidden now.
    RotateTrack = true;
    Show_Track_Vector_Data();
}

void Track_Vector_Window::Cursor_Moved() {
    if (shell_.State().ds.Cursor_Ens != marked_cursor_) Show_Track_Vector_Data();
}

void Track_Vector_Window::Enable_Data_Menus(bool enabled) {
    Animate_Menu->menuAction()->setEnabled(enabled);
    Select_Reference->setEnabled(enabled);
}

void Track_Vector_Window::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Show_Track_Vector_Data();
}

void Track_Vector_Window::Show_Track_Vector_Data() {
    if (!isVisible()) return;
    chart_->Fit_Surface();
    App_State& app = shell_.State();
    Sync_Menus();
    if (app.ds.File_Loaded && app.ds.Sub_Count > 0)
        Rotate_Track_Data(app.ds, app.dec.Num_Bins, app.settings.Track_Options, RotateTrack);
    vantrel::Show_Track_Vector_Data(chart_->Surface(), app.ds, app.dec, app.settings, view_);
    marked_cursor_ = app.ds.Cursor_Ens;
    locator_x_ = -1;
    chart_->Changed();
}

void Track_Vector_Window::Mouse_Move(QPointF at) {
    const App_State& app = shell_.State();
    tip_ = QString::fromStdString(Track_Tip_At(view_, at.x(), at.y(), app.ds, app.dec, app.settings));
    chart_->setToolTip(tip_);
    Draw_Locator(tip_.isEmpty() ? -1 : at.x());
}

// A white inverting line across both charts at x, erasing the previous one.
void Track_Vector_Window::Draw_Locator(double x) {
    QImage_Surface& s = chart_->Surface();
    const auto draw = [&](double at) {
        s.Drawing_Mode = Draw_Mode::k_invert;
        s.Fore_Color = k_white;
        s.Draw_Width = 2;
        s.Draw_Style = Line_Style::k_solid;
        for (const Track_Chart_Box* box : {&view_.upper, &view_.lower}) s.Draw_Line(at, box->top + 1, at, box->top + box->height - 1);
        s.Draw_Width = 1;
        s.Drawing_Mode = Draw_Mode::k_normal;
    };
    if (locator_x_ >= 0) draw(locator_x_);
    locator_x_ = x;
    if (locator_x_ >= 0) draw(locator_x_);
    chart_->Changed();
}

void Track_Vector_Window::Animate(int index) {
    App_State& app = shell_.State();
    Data_Set& ds = app.ds;
    Animate_Track[0]->setChecked(false);
    if (!ds.File_Loaded || index == 1) return;
    if (index == 2) {
        shell_.Load_Sub_Set(ds.File_First_Ens, ds.File_First_Ens + app.settings.Max_Sub_Ens - 1);
        return;
    }
    // Each step loads the Sub Set one ensemble further on; the main window then asks this
    // window to compute and draw again.
    Animate_Track[0]->setChecked(true);
    while (Animate_Track[0]->isChecked() && isVisible() && ds.File_Loaded && ds.Last_Ens < ds.File_Last_Ens) {
        if (!shell_.Load_Sub_Set(ds.First_Ens + 1, ds.Last_Ens + 1)) break;
        ds.Cursor_Ens = ds.Last_Ens;
        shell_.Update_Viewer();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    Animate_Track[0]->setChecked(false);
}

}  // namespace vantrel
