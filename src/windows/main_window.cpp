#include "windows/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "loading/series_bins.h"
#include "settings/command_line.h"
#include "windows/about_box.h"
#include "windows/animator.h"
#include "windows/chart_options_dialog.h"
#include "windows/export_window.h"
#include "windows/core_link.h"
#include "windows/elapsed.h"
#include "windows/data_viewer_window.h"
#include "windows/file_details_window.h"
#include "windows/help_window.h"
#include "windows/information_window.h"
#include "windows/progress_window.h"
#include "windows/sub_set_window.h"
#include "windows/track_vector_window.h"
#include "windows/trend_window.h"
#include "windows/whole_set_window.h"

namespace vantrel {

namespace {

constexpr int k_start_width = 1024, k_start_height = 768;  // screen pixels

QMdiSubWindow* Add_Child(QMdiArea& mdi, QWidget* window) {
    QMdiSubWindow* frame = mdi.addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    return frame;
}


}  // namespace

Shell_Paths Default_Shell_Paths(const std::filesystem::path& program_folder) {
    Shell_Paths paths;
    paths.options_file = Options_File_Path(program_folder);
    paths.recent_file = paths.options_file.parent_path() / k_recent_files_name;
    return paths;
}

Main_Window::Main_Window(Shell_Paths paths, QWidget* parent)
    : QMainWindow(parent),
      paths_(std::move(paths)),
      menus_(Build_Main_Menus(*menuBar())),
      mdi_(new QMdiArea(this)),
      whole_(new Whole_Set_Window(*this)),
      sub_(new Sub_Set_Window(*this)),
      whole_frame_(Add_Child(*mdi_, whole_)),
      sub_frame_(Add_Child(*mdi_, sub_)),
      info_(new Information_Window),
      info_frame_(Add_Child(*mdi_, info_)),
      details_(new File_Details_Window(*this)),
      details_frame_(Add_Child(*mdi_, details_)),
      viewer_(new Data_Viewer_Window(*this)),
      viewer_frame_(Add_Child(*mdi_, viewer_)),
      track_(new Track_Vector_Window(*this)),
      track_frame_(Add_Child(*mdi_, track_)),
      trend_(new Trend_Window(*this)),
      trend_frame_(Add_Child(*mdi_, trend_)),
      progress_(new Progress_Window(this)),
      Timer1(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Vantrel"));
    setCentralWidget(mdi_);
    for (QMdiSubWindow* frame : {details_frame_, viewer_frame_, track_frame_, trend_frame_}) {
        frame->resize(frame->sizeHint());
        frame->hide();
    }
    Load_Default_Options(state_.settings);
    hooks_.on_yield = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
    hooks_.on_percent = [this](int percent) { Set_Progress(percent); };
    connect(progress_, &Progress_Window::Stop_Clicked, this, [this] { hooks_.stop_requested = true; });
    connect(Timer1, &QTimer::timeout, this, &Main_Window::Timer1_Tick);
    whole_frame_->installEventFilter(this);
    sub_frame_->installEventFilter(this);
    info_frame_->installEventFilter(this);
    viewer_frame_->installEventFilter(this);
    track_frame_->installEventFilter(this);
    trend_frame_->installEventFilter(this);
    animator_ = new Animator(*this, menus_, *whole_, *sub_, this);
    animator_->on_series_moved = [this] { Refresh_Track(); };
    Connect_Menus();
    Update_Menu_Enabling();
}

Main_Window::~Main_Window() = default;

void Main_Window::Connect_Menus() {
    const Main_Menus& m = menus_;
    connect(m.MultiFile, &QAction::toggled, this, [this](bool on) { state_.menus.MultiFile = on; });
    connect(m.Open_File, &QAction::triggered, this, [this] { Open_File_Now(); });
    connect(m.Save_Selected_Data_Set, &QAction::triggered, this, [this] { Save_Range(true); });
    connect(m.Save_View_Data_Set, &QAction::triggered, this, [this] { Save_Range(false); });
    connect(m.Exit, &QAction::triggered, this, &QWidget::close);
    for (int i = 0; i < static_cast<int>(m.Old_File.size()); ++i) {
        connect(m.Old_File[static_cast<std::size_t>(i)], &QAction::triggered, this, [this, i] { Open_Recent(i + 1); });
    }
    for (int i = 0; i < 2; ++i) {
        connect(m.Copy_Form[static_cast<std::size_t>(i)], &QAction::triggered, this, [this, i] { Copy_Form(i); });
        connect(m.Paint[static_cast<std::size_t>(i)], &QAction::triggered, this, [this, i] { Paint(i); });
    }
    connect(m.Flip_Over, &QAction::triggered, this, &Main_Window::Flip_Over);
    for (int i = 0; i < static_cast<int>(m.Chart_Options.size()); ++i) {
        connect(m.Chart_Options[static_cast<std::size_t>(i)], &QAction::triggered, this, [this, i] { Open_Chart_Options(i + 1); });
    }
    connect(m.Max_Ensembles, &QAction::triggered, this, &Main_Window::Max_Ensembles);
    connect(m.Export, &QAction::triggered, this, &Main_Window::Show_Export);
    connect(m.Align_Forms, &QAction::triggered, this, &Main_Window::Align_Forms);
    connect(m.Show_Whole, &QAction::toggled, whole_frame_, &QWidget::setVisible);
    connect(m.Show_Sub, &QAction::toggled, sub_frame_, &QWidget::setVisible);
    connect(m.Show_Info, &QAction::toggled, this, [this](bool on) {
        if (on) {
            info_frame_->showNormal();
        } else {
            info_frame_->hide();
        }
    });
    connect(m.Show_Viewer, &QAction::toggled, this, [this](bool on) {
        viewer_frame_->setVisible(on);
        if (on) Update_Viewer();
    });
    connect(m.Show_Track, &QAction::toggled, this, [this](bool on) {
        track_frame_->setVisible(on && state_.ds.File_Loaded);
        if (on) track_->Sub_Set_Changed();
    });
    connect(m.Trend, &QAction::triggered, this, &Main_Window::Show_Trend);
    connect(trend_, &Trend_Window::Candle_Chosen, this, &Main_Window::Redraw_Sub);
    connect(m.Show_About, &QAction::triggered, this, &Main_Window::Show_About);
    connect(m.File_Details, &QAction::triggered, this, &Main_Window::Show_Details);
    connect(m.Show_Help, &QAction::triggered, this, &Main_Window::Show_Help);
    connect(m.AutoTrack, &QAction::triggered, this, &Main_Window::AutoTrack_Click);
    connect(m.TrackInt, &QAction::triggered, this, &Main_Window::TrackInt_Click);
}

void Main_Window::Start(const std::vector<std::string>& arguments) {
    Timer1->stop();
    setWindowTitle(QStringLiteral("Vantrel"));
    resize(k_start_width, k_start_height);
    if (const QScreen* on = screen()) {
        const QSize available = on->availableGeometry().size();
        if (k_start_width >= available.width() || k_start_height >= available.height()) showMaximized();
    }
    const Command_Line line = Parse_Command_Line(arguments);
    Load_Default_Options(state_.settings);
    if (paths_.persist) Load_Options(state_.settings, paths_.options_file);
    Options_Dialog().close();
    state_.ds.File_Loaded = false;
    state_.dec.Data_Structure = 0;
    recent_ = {};
    if (paths_.persist) recent_ = Load_Recent_Files(paths_.recent_file);
    for (std::size_t i = 0; i < recent_.size(); ++i) {
        QAction* item = menus_.Old_File[i];
        item->setText(Path_Caption(QString::fromStdString(recent_[i])));
        item->setVisible(!recent_[i].empty());
        item->setChecked(false);
    }
    Place_Windows();
    Monitor_File.clear();
    if (line.file.empty()) return;
    if (line.monitor_interval > 0) {
        monitor_interval_ = line.monitor_interval;
        Monitor_File = line.file;
        menus_.AutoTrack->setChecked(true);
        AutoTrack_Click(true);
    }
    Open_File_Now(line.file);
}

bool Main_Window::Begin_Busy(Busy_Work work) {
    if (busy_) return false;
    busy_ = work;
    hooks_.stop_requested = false;
    Update_Menu_Enabling();
    return true;
}

void Main_Window::End_Busy() {
    busy_.reset();
    Update_Menu_Enabling();
    whole_->Redraw_If_Pending();
    sub_->Redraw_If_Pending();
    if (close_pending_) QTimer::singleShot(0, this, &QWidget::close);
}

void Main_Window::Update_Menu_Enabling() {
    // Disable_Menus: nothing that loads or writes runs while the program is busy or monitoring.
    const bool enabled = !busy_ && !state_.menus.AutoTrack;
    for (QMenu* menu : {menus_.File, menus_.Edit, menus_.Options, menus_.Animate}) menu->menuAction()->setEnabled(enabled);
    track_->Enable_Data_Menus(enabled);
    animator_->Update_Enabling(state_.ds.File_Loaded);
    menus_.Export->setEnabled(enabled);
    // An export reloads the Sub Set ensemble by ensemble: the data windows wait for it.
    const bool exporting = busy_ == Busy_Work::k_export;
    whole_frame_->setEnabled(!exporting);
    sub_frame_->setEnabled(!exporting);
    // The analysis windows need data.
    menus_.Trend->setEnabled(state_.ds.File_Loaded);
    menus_.Show_Track->setEnabled(state_.ds.File_Loaded);
}

void Main_Window::Open_File_Now(const std::string& pending_name) {
    Busy_Scope busy(*this, Monitoring() ? Busy_Work::k_monitor_reload : Busy_Work::k_load);
    if (!busy.held()) return;
    Main_Open_Host host(*this);
    const Outcome outcome = Run_Open_File(state_, host, pending_name);
    ++opens_finished_;
    Show_Views_After_Load();
    if (!outcome.message.empty()) {
        // A box would hold an unattended monitoring screen until someone pressed OK: the
        // Information window tells it instead, and the next reload that succeeds replaces it.
        if (Monitoring()) {
            const std::string line = outcome.message + "\r\n";
            Show_Info_Text(state_.Info_Text.ends_with(line) ? state_.Info_Text : state_.Info_Text + line);
        } else {
            Show_Message(QString::fromStdString(outcome.message));
        }
    }
    Show_Busy_Pointer(false);
}

void Main_Window::Open_Recent(int index) {
    if (index < 1 || index > static_cast<int>(recent_.size())) return;
    const std::string name = recent_[static_cast<std::size_t>(index - 1)];
    if (!name.empty()) Open_File_Now(name);
}

void Main_Window::Show_Views_After_Load() {
    // Also after a cancelled or failed open, which hid them: the check marks say what is shown.
    whole_frame_->setVisible(menus_.Show_Whole->isChecked());
    sub_frame_->setVisible(menus_.Show_Sub->isChecked());
    info_frame_->setVisible(menus_.Show_Info->isChecked());
    viewer_frame_->setVisible(menus_.Show_Viewer->isChecked());
    track_frame_->setVisible(menus_.Show_Track->isChecked() && state_.ds.File_Loaded);
    Update_Viewer();
}

bool Main_Window::Load_Sub_Set(std::int32_t first, std::int32_t last) {
    if (!state_.ds.File_Loaded) return false;
    Busy_Scope busy(*this, Busy_Work::k_load);
    if (!busy.held()) return false;
    Main_Open_Host host(*this);
    const bool loaded = Run_Read_File_Selection(state_, host, first, last);
    if (loaded) Redraw_Sub();
    whole_->Redraw();
    if (loaded) Update_Viewer();
    return loaded;
}

void Main_Window::Refresh_Sub_Set() {
    Redraw_Sub();
    whole_->Show_Selected_Data_Location();
}

void Main_Window::Reopen() {
    if (!recent_[0].empty()) Open_File_Now(recent_[0]);
}

void Main_Window::Show_Selected_Data(std::int32_t what) {
    if (!state_.ds.File_Loaded || Is_Busy()) return;
    state_.settings.Contour_Code = what;
    Load_Sub_Set(state_.ds.First_Ens, state_.ds.Last_Ens);
}

void Main_Window::Open_Chart_Options(int tab) {
    if (!state_.ds.File_Loaded) return;
    Options_Dialog().ForceLoad(true, tab);
}

Chart_Options_Dialog& Main_Window::Options_Dialog() {
    if (!options_) options_ = new Chart_Options_Dialog(*this, paths_.persist ? paths_.options_file : std::filesystem::path{}, this);
    return *options_;
}

void Main_Window::Series_Bins_Changed() {
    Store_Series_Bins(state_.ds, state_.settings, state_.dec.Num_Bins);
    if (options_) options_->Show_Series_Bins();
}

void Main_Window::Refresh_Options_Dialog() {
    if (options_ && options_->isVisible()) options_->ForceLoad(false, options_->Tabs().currentIndex() + 1);
}

void Main_Window::Show_Export() {
    if (!export_) export_ = new Export_Window(*this, this);
    export_->Load_Folders();
}

void Main_Window::Show_Trend() {
    if (!state_.ds.File_Loaded) return;
    trend_frame_->showNormal();
    trend_frame_->raise();
    trend_->Show_Stat_Data();
}

void Main_Window::Refresh_Track() { track_->Sub_Set_Changed(); }

void Main_Window::Update_Viewer() {
    track_->Cursor_Moved();
    if (menus_.Show_Viewer->isChecked() && state_.ds.File_Loaded) viewer_->Show_Cursor_Ensemble();
}

void Main_Window::Update_Data_View(std::int32_t e, std::int32_t r) {
    if (menus_.Show_Viewer->isChecked() && state_.ds.File_Loaded) viewer_->Update_Data_View(e, r);
}

void Main_Window::Stop_Animate() {
    for (QAction* go : {menus_.Animate_Contour[0], menus_.Animate_Profile[0], menus_.Animate_Series[0]}) go->setChecked(false);
    state_.menus.Animate_Contour = state_.menus.Animate_Profile = state_.menus.Animate_Series = false;
    track_->Animate_Track[0]->setChecked(false);
}

std::string Main_Window::Choose_Open_Name() {
    if (file_chooser) return file_chooser(false);
    const QString name = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open"), QString(),
        QStringLiteral("Ensemble files (*.ens *.enr *.enx *.sta *.lta *.ENS *.ENR *.ENX *.STA *.LTA *.000);;All files (*)"));
    return name.toStdString();
}

std::string Main_Window::Choose_Save_Name() {
    if (file_chooser) return file_chooser(true);
    QFileDialog dialog(this, QStringLiteral("Save"), QString(),
                       QStringLiteral("Ensemble files (*.ens *.ENS);;All files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The command refuses a non-empty target itself, with its own message.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

void Main_Window::Hide_Forms() {
    whole_frame_->hide();
    sub_frame_->hide();
}

void Main_Window::Show_Busy_Pointer(bool busy) {
    if (busy == busy_pointer_) return;
    busy_pointer_ = busy;
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void Main_Window::Set_Caption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

void Main_Window::Add_Recent(const std::string& name) {
    if (name.empty()) return;
    Add_Recent_File(recent_, name);
    if (paths_.persist) Save_Recent_Files(recent_, paths_.recent_file);
    for (std::size_t i = 0; i < recent_.size(); ++i) {
        QAction* item = menus_.Old_File[i];
        item->setText(Path_Caption(QString::fromStdString(recent_[i])));
        item->setChecked(i == 0);
        item->setVisible(!recent_[i].empty());
    }
}

void Main_Window::Show_Progress(const std::string& caption) {
    // Stop ends the phase it was pressed in: the Whole Set walk keeps what it read and the
    // Sub Set of that still loads. A close waiting for the work stops every phase.
    if (!close_pending_) hooks_.stop_requested = false;
    progress_->Set_Percent(0);
    progress_->Show_Caption(QString::fromStdString(caption));
}

void Main_Window::Set_Progress(int percent) {
    progress_->Set_Percent(percent);
    Yield_If_Due();
}

// The loaders report progress per ensemble: between those reports the window, its Stop
// button and the close box answer at least every yield_ms_.
void Main_Window::Yield_If_Due() {
    const std::int64_t now = Now_Ms();
    if (now - last_yield_ms_ < yield_ms_) return;
    last_yield_ms_ = now;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void Main_Window::Hide_Progress() {
    progress_->Set_Percent(0);
    progress_->hide();
}

void Main_Window::Show_Info_Text(const std::string& text) { info_->Show_Text(text); }

void Main_Window::Show_Details() {
    details_frame_->showNormal();
    details_frame_->raise();
    details_->Show_Details();
}

void Main_Window::Show_Help() {
    if (!help_) help_ = new Help_Window(this);
    help_->Show_Page(Find_Help_File(QCoreApplication::applicationDirPath()));
    help_->show();
    help_->raise();
}

void Main_Window::Show_About() {
    if (!about_) about_ = new About_Box(this);
    about_->show();
    about_->raise();
}

void Main_Window::Redraw_Whole() { whole_->Redraw(); }
void Main_Window::Redraw_Sub() {
    sub_->Redraw();
    // The series chart has filled the candle tables afresh.
    trend_->Show_Stat_Data();
}

void Main_Window::Show_Message(const QString& text) {
    last_message_ = text;
    if (quiet) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantrel"), text, QMessageBox::Ok, this);
    box.exec();
}

bool Main_Window::eventFilter(QObject* watched, QEvent* event) {
    // Closing a frame closes its window too: showing the frame again shows the window.
    if (event->type() == QEvent::Show) {
        if (auto* frame = qobject_cast<QMdiSubWindow*>(watched); frame && frame->widget()) frame->widget()->show();
    }
    // A child window closed with its frame is hidden, and its item in "&Window" unchecked.
    if (event->type() == QEvent::Close && !shut_down_) {
        if (watched == whole_frame_) menus_.Show_Whole->setChecked(false);
        if (watched == sub_frame_) menus_.Show_Sub->setChecked(false);
        if (watched == info_frame_) menus_.Show_Info->setChecked(false);
        if (watched == viewer_frame_) menus_.Show_Viewer->setChecked(false);
        if (watched == track_frame_) menus_.Show_Track->setChecked(false);
    }
    return QMainWindow::eventFilter(watched, event);
}

void Main_Window::closeEvent(QCloseEvent* event) {
    if (Is_Busy()) {
        // The running work stops at its next yield; the close follows when it has ended.
        hooks_.stop_requested = true;
        close_pending_ = true;
        event->ignore();
        return;
    }
    Shutdown();
    event->accept();
}

void Main_Window::Shutdown() {
    if (shut_down_) return;
    shut_down_ = true;
    Timer1->stop();
    Store_Window_Settings();
    if (paths_.persist) Save_Options(state_.settings, paths_.options_file);
    // The most recently opened window first.
    const QList<QMdiSubWindow*> windows = mdi_->subWindowList(QMdiArea::CreationOrder);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->close();
    progress_->close();
}

}  // namespace vantrel
