#include "windows/export_window.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app_state.h"
#include "export/run_export.h"
#include "export/run_netcdf_export.h"
#include "loading/file_loading.h"
#include "loading/save_range.h"
#include "platform/text_format.h"
#include "settings/option_rules.h"
#include "windows/elapsed.h"
#include "windows/option_controls.h"
#include "windows/shell.h"

namespace vantrel {

namespace {

constexpr std::int64_t k_yield_ms = 30;  // between event-loop runs of a running export

const std::vector<Button_Column> k_type_columns{
    {"Echo Amplitude", {"Bm1", "Bm2", "Bm3", "Bm4", "Avg"}},
    {"Correlation", {"Bm1", "Bm2", "Bm3", "Bm4", "Avg"}},
    {"Velocity", {"East (u)", "North (v)", "Vertical (w)", "Error", "Magnitude", "Direction"}},
    {"Percent Good", {"PG1", "PG2", "PG3", "PG4"}},
};

// The series types of the ancillary tab's reference groups, in the order they are shown.
struct Reference_Group {
    const char* title;
    std::vector<std::pair<int, const char*>> boxes;
};
const Reference_Group k_reference_groups[] = {
    {"Bottom Track", {{39, "BT Depth"}, {20, "East (u)"}, {21, "North (v)"}, {22, "Vert (w)"}, {23, "Error"},
                      {24, "Mag"}, {25, "Dir"}, {37, "MicroCAT"}}},
    {"Water Mass", {{26, "East (u)"}, {27, "North (v)"}, {28, "Vert (w)"}, {29, "Error"}, {30, "Mag"}, {31, "Dir"}}},
    {"Navigation", {{36, "Lat/Lon"}, {32, "East (u)"}, {33, "North (v)"}, {34, "Mag"}, {35, "Dir"}, {38, "Calimbro "}}},
};

void Name_All(const std::vector<QAbstractButton*>& buttons, const QString& prefix) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i]) buttons[i]->setObjectName(QStringLiteral("%1_%2").arg(prefix).arg(i));
    }
}

// Loads the writers' one-ensemble Sub Sets without drawing or progress of their own.
class Export_Load_Host final : public Open_File_Host {};

Bin_List Bins_Of(const QListWidget& list) {
    Bin_List bins{};
    for (int p = 0; p < list.count() && p < k_bin_list_count; ++p) bins[static_cast<std::size_t>(p)] = list.item(p)->isSelected();
    return bins;
}

Export_File_Type Type_Of(const std::vector<QAbstractButton*>& buttons) {
    if (buttons[2]->isChecked()) return Export_File_Type::k_netcdf;
    return buttons[1]->isChecked() ? Export_File_Type::k_mat : Export_File_Type::k_text;
}

// The save dialog's filter and default suffix of a file type.
struct Save_Filter {
    QString filter, suffix;
};
Save_Filter Filter_Of(Export_File_Type type) {
    switch (type) {
        case Export_File_Type::k_mat: return {QStringLiteral("Matlab files (*.mat);;All Files (*)"), QStringLiteral("mat")};
        case Export_File_Type::k_netcdf: return {QStringLiteral("netCDF (*.nc);;All Files (*)"), QStringLiteral("nc")};
        case Export_File_Type::k_text: break;
    }
    return {QStringLiteral("Text Files (*.txt);;All Files (*)"), QStringLiteral("txt")};
}

}  // namespace

Export_Window::Export_Window(Shell& shell, QWidget* parent)
    : QDialog(parent),
      shell_(shell),
      tbsOptions(new QTabWidget(this)) {
    setWindowTitle(QStringLiteral("Vantrel Export Options"));
    setModal(false);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions->addTab(Build_Contour_Page(), QStringLiteral("&Contour"));
    tbsOptions->addTab(Build_Profile_Page(), QStringLiteral("&Profile"));
    tbsOptions->addTab(Build_Series_Page(), QStringLiteral("&Series/Ancillary"));
    // Made after the pages, so that Tab reaches them last.
    progress_ = new QProgressBar(this);
    write_ = new QPushButton(QStringLiteral("&Write File"), this);
    quit_ = new QPushButton(QStringLiteral("&Quit Export"), this);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(progress_, 1);
    bottom->addWidget(write_);
    bottom->addWidget(quit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tbsOptions);
    layout->addLayout(bottom);

    // The writers report a percent per ensemble: the window answers between those reports.
    hooks_.on_percent = [this](int percent) {
        progress_->setValue(percent);
        const std::int64_t now = Now_Ms();
        if (now - last_yield_ms_ >= k_yield_ms) hooks_.on_yield();
    };
    hooks_.on_yield = [this] {
        last_yield_ms_ = Now_Ms();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        // Closing the main window asks the running work to stop through the shell's hooks.
        if (shell_.Hooks().stop_requested) hooks_.stop_requested = true;
    };
    connect(write_, &QPushButton::clicked, this, &Export_Window::Write_File);
    connect(quit_, &QPushButton::clicked, this, &Export_Window::Quit_Export);
}

QWidget* Export_Window::Bins_Group(QWidget* page, Tab_Controls& tab) {
    QGroupBox* group = Group(QStringLiteral("&Bins"), page);
    auto* box = new QVBoxLayout(group);
    tab.bins = Bin_List_Widget(group, false);
    box->addWidget(tab.bins, 1);
    auto* buttons = new QHBoxLayout;
    const std::vector<QPushButton*> all_none = Add_Push_Buttons(*buttons, {"A&ll", "&None"});
    box->addLayout(buttons);
    QListWidget* list = tab.bins;
    connect(all_none[0], &QPushButton::clicked, this, [this, list] { Select_Bins(*list, true); });
    connect(all_none[1], &QPushButton::clicked, this, [this, list] { Select_Bins(*list, false); });
    return group;
}

QWidget* Export_Window::File_Type_Group(QWidget* page, Tab_Controls& tab) {
    QGroupBox* group = Group(QStringLiteral("&File Type"), page);
    auto* box = new QHBoxLayout(group);
    tab.file_type = Add_Buttons(*box, {"TXT", "MAT", "netCDF"}, Button_Kind::k_radio, new QButtonGroup(group));
    tab.file_type[0]->setChecked(true);
    box->addStretch(1);
    return group;
}

QWidget* Export_Window::Range_Group(QWidget* page, Tab_Controls& tab) {
    QGroupBox* group = Group(QStringLiteral("&Ensemble"), page);
    auto* form = new QFormLayout(group);
    tab.first = Number_Field(group, 8);
    tab.last = Number_Field(group, 8);
    tab.step = Number_Field(group, 8);
    form->addRow(QStringLiteral("First"), tab.first);
    form->addRow(QStringLiteral("Last"), tab.last);
    form->addRow(QStringLiteral("Step"), tab.step);
    return group;
}

// Data types at the left, ensembles and file type in the middle, the bin list at the right.
namespace {
QWidget* Arrange_Page(QWidget* page, std::initializer_list<QWidget*> left, std::initializer_list<QWidget*> middle, QWidget* bins) {
    auto* left_box = new QVBoxLayout;
    for (QWidget* w : left) left_box->addWidget(w);
    left_box->addStretch(1);
    auto* middle_box = new QVBoxLayout;
    for (QWidget* w : middle) middle_box->addWidget(w);
    middle_box->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left_box, 1);
    layout->addLayout(middle_box);
    layout->addWidget(bins);
    return page;
}
}  // namespace

QWidget* Export_Window::Build_Contour_Page() {
    auto* page = new QWidget;
    QGroupBox* types = Group(QStringLiteral("&Data Type"), page);
    auto* grid = new QGridLayout(types);
    contour_type_ = Add_Button_Columns(*grid, 0, 0, k_type_columns, Button_Kind::k_radio, new QButtonGroup(types));
    Name_All(contour_type_, QStringLiteral("optContour_Type"));
    contour_type_[k_type_vel]->setChecked(true);
    QWidget* range = Range_Group(page, contour_);
    QWidget* file_type = File_Type_Group(page, contour_);
    return Arrange_Page(page, {types}, {range, file_type}, Bins_Group(page, contour_));
}

QWidget* Export_Window::Build_Profile_Page() {
    auto* page = new QWidget;
    QGroupBox* types = Group(QStringLiteral("&Data Type"), page);
    auto* grid = new QGridLayout(types);
    profile_type_ = Add_Button_Columns(*grid, 0, 0, k_type_columns, Button_Kind::k_check);
    Name_All(profile_type_, QStringLiteral("chkProfile_Type"));
    QGroupBox* ensemble = Group(QStringLiteral("&Ensemble"), page);
    auto* box = new QVBoxLayout(ensemble);
    profile_ens_ = Number_Field(ensemble, 8);
    box->addWidget(profile_ens_);
    QWidget* file_type = File_Type_Group(page, profile_);
    return Arrange_Page(page, {types}, {ensemble, file_type}, Bins_Group(page, profile_));
}

QWidget* Export_Window::Build_Series_Page() {
    auto* page = new QWidget;
    QGroupBox* types = Group(QStringLiteral("Series &Data Types"), page);
    auto* grid = new QGridLayout(types);
    series_type_ = Add_Button_Columns(*grid, 0, 0, k_type_columns, Button_Kind::k_check);
    series_type_.resize(k_series_box_count, nullptr);

    QGroupBox* anc = Group(QStringLiteral("&Anc Data Types"), page);
    auto* anc_box = new QHBoxLayout(anc);
    auto* anc_column = new QVBoxLayout;
    anc_type_ = Add_Buttons(*anc_column, {"Pitch", "Roll", "Heading", "Temperature", "Depth", "Orientation", "BIT", "Battery"},
                            Button_Kind::k_check);
    Name_All(anc_type_, QStringLiteral("chkAnc_Type"));
    anc_column->addStretch(1);
    anc_box->addLayout(anc_column);
    for (const Reference_Group& g : k_reference_groups) {
        QGroupBox* group = Group(QString::fromUtf8(g.title), anc);
        auto* box = new QVBoxLayout(group);
        for (const auto& [type, caption] : g.boxes) {
            const std::vector<QAbstractButton*> one = Add_Buttons(*box, {caption}, Button_Kind::k_check);
            series_type_[static_cast<std::size_t>(type)] = one.front();
        }
        box->addStretch(1);
        anc_box->addWidget(group);
    }
    Name_All(series_type_, QStringLiteral("chkSeries_Type"));
    QWidget* range = Range_Group(page, series_);
    QWidget* file_type = File_Type_Group(page, series_);
    return Arrange_Page(page, {types, anc}, {range, file_type}, Bins_Group(page, series_));
}

void Export_Window::Select_Bins(QListWidget& list, bool selected) {
    // Only the file's bins: positions beyond them keep what they had.
    const std::int32_t num_bins = shell_.State().dec.Num_Bins;
    for (int p = 0; p < num_bins && p < list.count(); ++p) list.item(p)->setSelected(selected);
}

void Export_Window::Load_Folders() {
    const App_State& state = shell_.State();
    const Settings& s = state.settings;
    const Data_Set& ds = state.ds;
    Check_Index(contour_type_, Contour_Option_Of_Code(s.Contour_Code, false).value_or(-1));
    profile_ens_->setText(QString::fromStdString(Format(ds.Cursor_Ens, "0")));
    for (std::size_t i = 0; i < profile_type_.size(); ++i) profile_type_[i]->setChecked(s.Profile_Select[i]);
    const Range_Fields range{Format(ds.First_Ens, "0"), Format(ds.Last_Ens, "0"), "1"};
    Show_Range(range, contour_);
    Show_Range(range, series_);
    // The store holds series flags 0..36; boxes 37..39 keep their own state.
    for (std::size_t i = 0; i < series_type_.size() && i < s.Series_Select.size(); ++i) series_type_[i]->setChecked(s.Series_Select[i]);
    for (std::size_t i = 0; i < anc_type_.size(); ++i) anc_type_[i]->setChecked(s.Anc_Select[i]);
    progress_->setValue(0);
    if (!centred_) {
        centred_ = true;
        Centre_On_Screen(*this);
    }
    show();
    raise();
    activateWindow();
}

void Export_Window::Show_Range(const Range_Fields& range, const Tab_Controls& tab) {
    tab.first->setText(QString::fromStdString(range.First));
    tab.last->setText(QString::fromStdString(range.Last));
    tab.step->setText(QString::fromStdString(range.Step));
}

Export_Selection Export_Window::Selection() const {
    Export_Selection sel;
    sel.Contour_Type = Checked_Index(contour_type_);
    sel.Contour_Range = {contour_.first->text().toStdString(), contour_.last->text().toStdString(), contour_.step->text().toStdString()};
    sel.Contour_Bins = Bins_Of(*contour_.bins);
    sel.Contour_File_Type = Type_Of(contour_.file_type);
    for (std::size_t i = 0; i < profile_type_.size(); ++i) sel.Profile_Types[i] = profile_type_[i]->isChecked();
    sel.Profile_Ens = profile_ens_->text().toStdString();
    sel.Profile_Bins = Bins_Of(*profile_.bins);
    sel.Profile_File_Type = Type_Of(profile_.file_type);
    for (std::size_t i = 0; i < series_type_.size(); ++i) sel.Series_Types[i] = series_type_[i]->isChecked();
    for (std::size_t i = 0; i < anc_type_.size(); ++i) sel.Anc_Types[i] = anc_type_[i]->isChecked();
    sel.Series_Range = {series_.first->text().toStdString(), series_.last->text().toStdString(), series_.step->text().toStdString()};
    sel.Series_Bins = Bins_Of(*series_.bins);
    sel.Series_File_Type = Type_Of(series_.file_type);
    return sel;
}

void Export_Window::Write_File() {
    App_State& state = shell_.State();
    if (!state.ds.File_Loaded) {
        progress_->setValue(0);
        return;
    }
    // Menus, the Whole Set and the Sub Set windows wait while the busy state is held.
    Busy_Scope busy(shell_, Busy_Work::k_export);
    if (!busy.held()) return;
    write_->setEnabled(false);
    const auto kind = static_cast<Export_Kind>(tbsOptions->currentIndex());
    Export_Selection sel = Selection();
    const Export_File_Type type = File_Type_Of(sel, kind);
    const std::string name = Choose_File(type);
    hooks_.stop_requested = false;
    if (!name.empty()) {
        busy_ = true;
        Export_Load_Host host;
        const Sub_Set_Loader load = [&state, &host](std::int32_t first, std::int32_t last) {
            return Read_File_Selection(state, host, first, last, false);
        };
        Export_Job job{state.ds, state.dec, sel, load, hooks_, state.load.File_Name};
        // The one-ensemble loads move the profile's ensemble; the user's comes back with the Sub Set.
        const std::int32_t cursor = state.ds.Cursor_Ens;
        const Outcome outcome = type == Export_File_Type::k_netcdf
                                    ? Run_Netcdf_Export(job, kind, state.settings, state.file_set, name)
                                    : Run_Export(job, kind, name, Input_Files(state));
        state.ds.Cursor_Ens = cursor;
        busy_ = false;
        Show_Range(sel.Contour_Range, contour_);
        Show_Range(sel.Series_Range, series_);
        profile_ens_->setText(QString::fromStdString(sel.Profile_Ens));
        if (!outcome.message.empty()) shell_.Show_Message(outcome.message);
    }
    write_->setEnabled(true);
    progress_->setValue(0);
    if (hooks_.stop_requested) close();
}

void Export_Window::Quit_Export() {
    if (busy_) {
        hooks_.stop_requested = true;
        return;
    }
    close();
}

void Export_Window::closeEvent(QCloseEvent* event) {
    // The frame's close box acts as "Quit Export": a running export stops first.
    if (busy_) {
        hooks_.stop_requested = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

std::string Export_Window::Choose_File(Export_File_Type type) {
    if (file_chooser) return file_chooser(type);
    const bool mat = type == Export_File_Type::k_mat;
    const Save_Filter filter = Filter_Of(type);
    QFileDialog dialog(this, QStringLiteral("Save"), mat ? last_mat_name_ : QString(), filter.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(filter.suffix);
    // The export refuses a non-empty file itself, with its own message.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    if (mat) last_mat_name_ = dialog.selectedFiles().front();
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace vantrel
