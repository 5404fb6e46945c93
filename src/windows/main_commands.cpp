// The main window's menu commands that work on the loaded data: saving a range, the
// Sub Set size, the clipboard and the paint program, flip, window alignment and monitoring.
#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTemporaryFile>
#include <QTimer>
#include <QUrl>
#include <cmath>

#include "dataset/max_ensembles.h"
#include "platform/text_format.h"
#include "settings/command_line.h"
#include "settings/option_rules.h"
#include "windows/chart_widget.h"
#include "windows/core_link.h"
#include "windows/main_window.h"
#include "windows/sub_set_window.h"
#include "windows/whole_set_window.h"

namespace vantrel {

namespace {

constexpr double k_twips_per_inch = 1440;

// An input box; an empty string when it is cancelled.
QString Ask(QWidget* parent, const QString& title, const QString& prompt, const QString& value) {
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("Input_Box"));
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

// Fit_Form of a child window at a state it may have: a minimised window is placed while
// normal and minimised again, a maximised one is left alone.
void Fit_Frame(QMdiSubWindow& frame, const QRect& place) {
    if (frame.isMaximized()) return;
    const bool minimised = frame.isMinimized();
    if (minimised) frame.showNormal();
    frame.setGeometry(place);
    if (minimised) frame.showMinimized();
}

}  // namespace

void Main_Window::Save_Range(bool selected) {
    const Data_Set& ds = state_.ds;
    if (!ds.File_Loaded) return;
    const std::string target = Choose_Save_Name();
    if (target.empty() || target == state_.load.File_Name) return;
    Busy_Scope busy(*this, Busy_Work::k_export);
    if (!busy.held()) return;
    Show_Busy_Pointer(true);
    const Outcome outcome = selected ? Run_Save_Range(state_, target, ds.Sel_First_Ens, ds.Sel_Last_Ens)
                                     : Run_Save_Range(state_, target, ds.First_Ens, ds.Last_Ens);
    Show_Busy_Pointer(false);
    if (!outcome.message.empty()) Show_Message(QString::fromStdString(outcome.message));
}

void Main_Window::Max_Ensembles() {
    Settings& s = state_.settings;
    const QString answer = Ask(this, QStringLiteral("Max Ensembles"), QStringLiteral("Maximum Sub-Set Ensembles"),
                               QString::number(s.Max_Sub_Ens));
    if (answer.isEmpty()) return;
    Busy_Scope busy(*this, Busy_Work::k_load);
    if (!busy.held()) return;
    s.Max_Sub_Ens = Max_Sub_Ens_From_Answer(answer.toStdString(), s.Max_Sub_Ens);
    Show_Busy_Pointer(true);
    Reallocate_Sub_Set(state_);
    if (state_.ds.File_Loaded) {
        Main_Open_Host host(*this);
        const std::int64_t last = static_cast<std::int64_t>(state_.ds.First_Ens) + s.Max_Sub_Ens - 1;
        if (Run_Read_File_Selection(state_, host, state_.ds.First_Ens, static_cast<std::int32_t>(std::min<std::int64_t>(last, INT32_MAX)))) {
            Redraw_Sub();
        }
        whole_->Redraw();
    }
    Show_Busy_Pointer(false);
}

void Main_Window::Copy_Form(int index) {
    if (!state_.ds.File_Loaded || index < 0 || index > 1) return;
    // The Sub Set window draws its three panes into one surface: profile at the left,
    // contour to its right, series under the contour.
    Chart_Widget& chart = index == 0 ? whole_->Chart() : sub_->Chart();
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setImage(chart.Surface().Image());
}

void Main_Window::Paint(int index) {
    Copy_Form(index);
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) return;
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/vantrel-XXXXXX.png"));
    file.setAutoRemove(false);  // the image program reads it after this returns
    if (!file.open() || !image.save(&file, "PNG")) return;
    file.close();
    QDesktopServices::openUrl(QUrl::fromLocalFile(file.fileName()));
}

void Main_Window::Flip_Over(bool checked) {
    state_.menus.Flip_Checked = checked;
    if (state_.ds.File_Loaded) Reopen();
}

void Main_Window::Align_Forms() {
    const QSize inner = mdi_->viewport()->size();
    const QRect whole = Whole_Set_Window::Fit_Form(inner);
    Fit_Frame(*info_frame_, QRect(0, 0, whole.left(), whole.height()));
    Fit_Frame(*sub_frame_, Sub_Set_Window::Fit_Form(inner));
    Fit_Frame(*whole_frame_, whole);
}

void Main_Window::Place_Windows() {
    const Settings& s = state_.settings;
    menus_.Show_Whole->setChecked(s.Window_Menu_States[2]);
    menus_.Show_Sub->setChecked(s.Window_Menu_States[3]);
    menus_.Show_Info->setChecked(s.Window_Menu_States[1]);
    menus_.Show_Viewer->setChecked(s.Window_Menu_States[4]);
    menus_.Show_Track->setChecked(s.Window_Menu_States[0]);
    Align_Forms();
    const double px_per_twip = logicalDpiX() / k_twips_per_inch;
    const QScreen* on = screen() ? screen() : QGuiApplication::primaryScreen();
    const QSize screen_px = on ? on->availableSize() : QSize();
    const auto apply = [px_per_twip, screen_px](QWidget& window, const Window_Geometry& g) {
        const auto px = [px_per_twip](std::int32_t twips, int limit) { return Saved_Window_Pixels(twips, px_per_twip, limit); };
        QRect r = window.geometry();
        if (const auto left = px(g.left, screen_px.width())) r.moveLeft(*left);
        if (const auto top = px(g.top, screen_px.height())) r.moveTop(*top);
        // The designed sizes may exceed a small screen; twice it is room enough.
        if (const auto width = px(g.width, 2 * screen_px.width()); width > 0) r.setWidth(*width);
        if (const auto height = px(g.height, 2 * screen_px.height()); height > 0) r.setHeight(*height);
        window.setGeometry(r);
        if (g.state == 1) window.showMinimized();
        if (g.state == 2) window.showMaximized();
    };
    apply(*whole_frame_, s.Window_Geometries[k_win_whole]);
    apply(*sub_frame_, s.Window_Geometries[k_win_sub]);
    apply(*info_frame_, s.Window_Geometries[k_win_info]);
    apply(*track_frame_, s.Window_Geometries[k_win_track]);
    if (paths_.persist) apply(*this, s.Window_Geometries[k_win_main]);
}

void Main_Window::Store_Window_Settings() {
    Settings& s = state_.settings;
    s.Window_Menu_States[2] = menus_.Show_Whole->isChecked();
    s.Window_Menu_States[3] = menus_.Show_Sub->isChecked();
    s.Window_Menu_States[1] = menus_.Show_Info->isChecked();
    s.Window_Menu_States[4] = menus_.Show_Viewer->isChecked();
    s.Window_Menu_States[0] = menus_.Show_Track->isChecked();
    const double twips_per_px = k_twips_per_inch / logicalDpiX();
    const auto store = [twips_per_px](const QWidget& window, Window_Geometry& g) {
        const QRect r = window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
        const auto twips = [twips_per_px](int px) { return static_cast<std::int32_t>(std::lround(px * twips_per_px)); };
        g = {twips(r.left()), twips(r.top()), twips(r.width()), twips(r.height()),
             window.isMinimized() ? 1 : window.isMaximized() ? 2 : 0};
    };
    store(*whole_frame_, s.Window_Geometries[k_win_whole]);
    store(*sub_frame_, s.Window_Geometries[k_win_sub]);
    store(*info_frame_, s.Window_Geometries[k_win_info]);
    store(*track_frame_, s.Window_Geometries[k_win_track]);
    store(*this, s.Window_Geometries[k_win_main]);
}

std::string Main_Window::Watched_File() const {
    if (!state_.load.File_Name.empty()) return state_.load.File_Name;
    if (!Monitor_File.empty()) return Monitor_File;
    return recent_[0];
}

void Main_Window::AutoTrack_Click(bool on) {
    menus_.Monitor_Count->setText(QString());
    Settings& s = state_.settings;
    if (on) {
        saved_switch_1_ = s.Contour_Switch_1;
        s.Contour_Switch_1 = false;
        state_.menus.AutoTrack = true;
        monitor_counter_ = 0;
        // What is on screen now is the last seen length: an unchanged file is never reloaded.
        last_length_ = Watched_Length(state_, Watched_File());
        Timer1->start(1000);
    } else {
        state_.menus.AutoTrack = false;
        s.Contour_Switch_1 = saved_switch_1_;
        Timer1->stop();
        last_length_.reset();
    }
    Update_Menu_Enabling();
}

void Main_Window::TrackInt_Click() {
    const QString answer = Ask(this, QStringLiteral("Monitor Interval"), QStringLiteral("Enter monitor interval in seconds"),
                               QString::number(monitor_interval_));
    monitor_interval_ = Monitor_Interval_From_Answer(answer.toStdString(), monitor_interval_);
}

void Main_Window::Timer1_Tick() {
    ++monitor_counter_;
    if (monitor_counter_ > monitor_interval_) {
        monitor_counter_ = 0;
        const std::string name = Watched_File();
        // A tick that comes while a load or an export runs waits for the next one.
        if (state_.menus.AutoTrack && !Is_Busy() && !name.empty()) {
            const std::int64_t length = Watched_Length(state_, name);
            if (length != last_length_) {
                last_length_ = length;
                Open_File_Now(name);
            }
        }
        if (!state_.menus.AutoTrack) {
            Timer1->stop();
            last_length_.reset();
        }
    }
    if (state_.menus.AutoTrack) {
        menus_.Monitor_Count->setText(QString::fromStdString(Format(monitor_interval_ - monitor_counter_, "0")));
    }
}

}  // namespace vantrel
