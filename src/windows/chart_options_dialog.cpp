#include "windows/chart_options_dialog.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app_state.h"
#include "loading/series_bins.h"
#include "platform/program_messages.h"
#include "platform/text_format.h"
#include "settings/option_rules.h"
#include "windows/shell.h"

namespace vantrel {

namespace {

QString Number(double v) { return QString::number(v, 'g', 10); }
QString Integer(std::int32_t v) { return QString::number(v); }
double Field_Value(const QLineEdit* field, std::size_t chars) { return Val(field->text().left(static_cast<qsizetype>(chars)).toStdString()); }
std::int32_t Field_Int(const QLineEdit* field, std::size_t chars) { return Field_Integer(field->text().toStdString(), chars); }

template <std::size_t N>
void Flags_To_Buttons(const std::array<bool, N>& flags, const std::vector<QAbstractButton*>& buttons, std::size_t from = 0) {
    for (std::size_t i = 0; i < buttons.size() && from + i < N; ++i) buttons[i]->setChecked(flags[from + i]);
}
template <std::size_t N>
void Buttons_To_Flags(const std::vector<QAbstractButton*>& buttons, std::array<bool, N>& flags, std::size_t from = 0) {
    for (std::size_t i = 0; i < buttons.size() && from + i < N; ++i) flags[from + i] = buttons[i]->isChecked();
}

// Min/Max fields of an axis table: each pair is taken only when Min is below Max.
template <std::size_t N>
void Scale_To_Fields(const std::array<double, N>& min, const std::array<double, N>& max, const Scale_Fields& fields) {
    for (std::size_t i = 0; i < fields.min.size() && i < N; ++i) {
        fields.min[i]->setText(Number(min[i]));
        fields.max[i]->setText(Number(max[i]));
    }
}

struct Corrections {
    std::vector<std::string> notes;
    // The typed value when inside limits, else the old one, written back to the field.
    double Take(QLineEdit* field, std::size_t chars, const char* name, const Number_Limits& limits, double old) {
        const double v = Field_Value(field, chars);
        std::string note = Check_Number(name, v, limits, old);
        if (note.empty()) return v;
        notes.push_back(std::move(note));
        field->setText(Number(old));
        return old;
    }
    template <std::size_t N>
    void Take_Scale(const Scale_Fields& fields, const std::vector<const char*>& names, std::array<double, N>& min,
                    std::array<double, N>& max) {
        for (std::size_t i = 0; i < fields.min.size() && i < N; ++i) {
            const double lo = Field_Value(fields.min[i], 6), hi = Field_Value(fields.max[i], 6);
            std::string note = Check_Scale(names[i], lo, hi);
            if (note.empty()) {
                min[i] = lo;
                max[i] = hi;
            } else {
                notes.push_back(std::move(note));
            }
            fields.min[i]->setText(Number(min[i]));
            fields.max[i]->setText(Number(max[i]));
        }
    }
};

const std::vector<const char*> k_profile_scale_names{"Echo Intensity", "Correlation", "Velocity", "Magnitude",
                                                     "Direction",      "Statistics",  "PGood"};
const std::vector<const char*> k_anc_scale_names{"Pitch", "Roll", "Heading", "Temperature", "Depth", "Orientation",
                                                 "BIT", "Battery", "BT Velocity", "BT Magnitude", "BT Direction"};

}  // namespace

Chart_Options_Dialog::Chart_Options_Dialog(Shell& shell, std::filesystem::path options_file, QWidget* parent)
    : QDialog(parent),
      shell_(shell),
      options_file_(std::move(options_file)),
      tbsOptions(new QTabWidget(this)) {
    setWindowTitle(QStringLiteral("Vantrel Chart Options"));
    setModal(false);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    const struct {
        QWidget* page;
        const char *caption, *tip;
    } tabs[] = {
        {Build_Contour_Page(), "&Contour", "Set Options for Contour Chart"},
        {Build_Profile_Page(), "&Profile", "Set Options for Profile Chart"},
        {Build_Series_Page(), "&Series", "Set Options for Series Chart"},
        {Build_Ancillary_Page(), "&Ancillary", "Set Options for Ancillary Chart"},
        {Build_Processing_Page(), "P&rocessing", "Set Options for Processing"},
    };
    for (const auto& tab : tabs) {
        const int index = tbsOptions->addTab(tab.page, QString::fromUtf8(tab.caption));
        tbsOptions->setTabToolTip(index, QString::fromUtf8(tab.tip));
    }
    // Made after the pages, so that Tab reaches them last.
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    apply_ = new QPushButton(QStringLiteral("Appl&y"), this);
    ok_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : {ok_, cancel_, apply_}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tbsOptions);
    layout->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &Chart_Options_Dialog::Ok);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(apply_, &QPushButton::clicked, this, &Chart_Options_Dialog::Apply);
    connect(default_, &QPushButton::clicked, this, &Chart_Options_Dialog::Default_Click);
    connect(load_, &QPushButton::clicked, this, &Chart_Options_Dialog::Load_Click);
    connect(save_, &QPushButton::clicked, this, &Chart_Options_Dialog::Save_Click);
    Watch_Changes();
    Set_Changed(false);
}

void Chart_Options_Dialog::Watch_Changes() {
    const auto changed = [this] { Set_Changed(true); };
    for (QAbstractButton* b : findChildren<QAbstractButton*>()) {
        if (b->isCheckable()) connect(b, &QAbstractButton::clicked, this, changed);
    }
    for (QLineEdit* field : findChildren<QLineEdit*>()) connect(field, &QLineEdit::textEdited, this, changed);
    connect(series_bins_, &QListWidget::itemChanged, this, changed);
}

void Chart_Options_Dialog::Set_Changed(bool changed) {
    ok_->setEnabled(changed);
    apply_->setEnabled(changed);
    save_->setEnabled(!changed);
}

void Chart_Options_Dialog::ForceLoad(bool display, int tab) {
    if (shell_.Monitoring()) return;
    tbsOptions->setCurrentIndex(tab >= 1 && tab <= 5 ? tab - 1 : 0);
    Options_To_Dialog();
    Show_Flow_Meter_Captions();
    Set_Changed(false);
    if (!display) return;
    if (!centred_) {
        centred_ = true;
        Centre_On_Screen(*this);
    }
    show();
    raise();
    activateWindow();
}

void Chart_Options_Dialog::Show_Flow_Meter_Captions() {
    App_State& state = shell_.State();
    const bool flow_meter = state.dec.Is_QTRM;
    const QString first = flow_meter ? QStringLiteral("Prof #1") : QStringLiteral("East(u)");
    const QString second = flow_meter ? QStringLiteral("Prof #2") : QStringLiteral("North(v)");
    for (auto* buttons : {&contour_type_, &profile_type_, &series_type_}) {
        (*buttons)[10]->setText(first);
        (*buttons)[11]->setText(second);
    }
    // The flow meter has two profiles and no third velocity component, magnitude or statistics.
    if (flow_meter && Checked_Index(contour_type_) >= 12 && Checked_Index(contour_type_) <= 15) contour_type_[10]->setChecked(true);
    const auto limit = [flow_meter](const std::vector<QAbstractButton*>& buttons, std::size_t last, bool clear) {
        for (std::size_t i = 12; i <= last; ++i) {
            if (flow_meter && clear) buttons[i]->setChecked(false);
            buttons[i]->setEnabled(!flow_meter);
        }
    };
    limit(contour_type_, 15, false);
    limit(profile_type_, 18, true);
    limit(series_type_, 15, true);
    if (!flow_meter) state.dec.Bin_Size_C20C10 = state.dec.Bin_Size_C30C20 = 1.0;
}

void Chart_Options_Dialog::Options_To_Dialog() {
    App_State& state = shell_.State();
    const Settings& s = state.settings;
    const Data_Set& ds = state.ds;
    const bool down = ds.Orientation_Count >= 1;
    const std::int32_t num_bins = state.dec.Num_Bins;

    Check_Index(contour_type_, Contour_Option_Of_Code(s.Contour_Code, true).value_or(-1));
    Check_Index(contour_scale_mode_, s.Contour_Scale_Mode);
    contour_min_->setText(Integer(s.Contour_Scale_Limits[0]));
    contour_max_->setText(Integer(s.Contour_Scale_Limits[1]));
    Flags_To_Buttons(std::array<bool, 3>{s.Contour_Switch_1, s.Contour_Switch_2, s.Contour_Switch_3}, contour_switch_);
    sel_first_->setText(Integer(ds.Sel_First_Ens));
    sel_last_->setText(Integer(ds.Sel_Last_Ens));
    const auto [shown_first, shown_last] = Bins_For_Display(ds.First_Bin, ds.Last_Bin, num_bins, down);
    bin_first_->setText(Integer(shown_first));
    bin_last_->setText(Integer(shown_last));
    ens_first_->setText(Integer(ds.First_Ens));
    ens_last_->setText(Integer(ds.Last_Ens));

    Flags_To_Buttons(s.Profile_Select, profile_type_);
    Flags_To_Buttons(std::array<bool, 3>{s.Profile_Style_1, s.Profile_Style_2, s.Profile_Style_3}, profile_style_);
    Scale_To_Fields(s.Profile_Scale_Min, s.Profile_Scale_Max, profile_scale_);
    // The profile chart shows the data set's cursor; the setting keeps it for the next run.
    profile_ens_->setText(Integer(ds.File_Loaded ? ds.Cursor_Ens : s.Cursor_Ens));

    Flags_To_Buttons(s.Series_Select, series_type_);
    Flags_To_Buttons(std::array<bool, 4>{s.Series_Style_1, s.Series_Style_2, s.Series_Style_3, s.Series_Style_4}, series_style_);
    Scale_To_Fields(s.Series_Scale_Min, s.Series_Scale_Max, series_scale_);
    Show_Series_Bins();
    averaging_[s.Averaging_All ? 0 : 1]->setChecked(true);
    averaging_interval_->setText(QString::fromStdString(Format_Interval(s.Averaging_Interval)));

    Flags_To_Buttons(s.Anc_Select, anc_type_);
    Flags_To_Buttons(s.Series_Select, anc_vel_, k_type_bt);
    Flags_To_Buttons(std::array<bool, 3>{s.Anc_Style_1, s.Anc_Style_2, s.Anc_Style_3}, anc_style_);
    Scale_To_Fields(s.Anc_Scale_Min, s.Anc_Scale_Max, anc_scale_);
    water_density_->setText(Number(s.Water_Density));

    Check_Index(vel_reference_, s.Vel_Reference);
    Flags_To_Buttons(s.EoP_Options, eop_);
    vel_scale_->setText(Number(s.Vel_Scale));
    bt_vel_scale_->setText(Number(s.BT_Vel_Scale));
}

void Chart_Options_Dialog::Show_Series_Bins() {
    const App_State& state = shell_.State();
    const bool down = state.ds.Orientation_Count >= 1;
    const std::int32_t num_bins = state.dec.Num_Bins;
    const QSignalBlocker quiet(series_bins_);
    for (int p = 1; p <= series_bins_->count(); ++p) {
        const std::int32_t index = Bin_Index_Of_Position(p, num_bins, down);
        QListWidgetItem* item = series_bins_->item(p - 1);
        item->setCheckState(index >= 0 && state.ds.Series_Bins[static_cast<std::size_t>(index)] ? Qt::Checked : Qt::Unchecked);
        // Positions beyond the file's bins are never read: only the file's bins are listed.
        series_bins_->setRowHidden(p - 1, num_bins > 0 && p > num_bins);
    }
}

void Chart_Options_Dialog::Dialog_To_Options() {
    App_State& state = shell_.State();
    Settings& s = state.settings;
    Data_Set& ds = state.ds;
    const bool down = ds.Orientation_Count >= 1;
    const std::int32_t num_bins = state.dec.Num_Bins;
    Corrections fix;

    if (const int mode = Checked_Index(contour_scale_mode_); mode >= 0) s.Contour_Scale_Mode = mode;
    const auto contour_min = static_cast<std::int32_t>(std::clamp(Field_Value(contour_min_, 6), -1e9, 1e9));
    const auto contour_max = static_cast<std::int32_t>(std::clamp(Field_Value(contour_max_, 6), -1e9, 1e9));
    if (std::string note = Check_Scale("Contour Scale", contour_min, contour_max); note.empty()) {
        s.Contour_Scale_Limits = {contour_min, contour_max};
    } else {
        fix.notes.push_back(std::move(note));
    }
    contour_min_->setText(Integer(s.Contour_Scale_Limits[0]));
    contour_max_->setText(Integer(s.Contour_Scale_Limits[1]));
    s.Contour_Switch_1 = contour_switch_[0]->isChecked();
    s.Contour_Switch_2 = contour_switch_[1]->isChecked();
    s.Contour_Switch_3 = contour_switch_[2]->isChecked();
    if (const std::int32_t code = Contour_Code_Of_Option(Checked_Index(contour_type_)); code != 0) s.Contour_Code = code;

    if (ds.File_Loaded) {
        std::tie(ds.Sel_First_Ens, ds.Sel_Last_Ens) =
            Fix_Range(Field_Int(sel_first_, 8), Field_Int(sel_last_, 8), ds.File_First_Ens, ds.File_Last_Ens);
        std::tie(ds.First_Bin, ds.Last_Bin) = Bins_From_Display(Field_Int(bin_first_, 3), Field_Int(bin_last_, 3), num_bins, down);
        std::tie(ds.First_Ens, ds.Last_Ens) =
            Fix_Range(Field_Int(ens_first_, 8), Field_Int(ens_last_, 8), ds.File_First_Ens, ds.File_Last_Ens);
    }
    sel_first_->setText(Integer(ds.Sel_First_Ens));
    sel_last_->setText(Integer(ds.Sel_Last_Ens));
    const auto [shown_first, shown_last] = Bins_For_Display(ds.First_Bin, ds.Last_Bin, num_bins, down);
    bin_first_->setText(Integer(shown_first));
    bin_last_->setText(Integer(shown_last));
    ens_first_->setText(Integer(ds.First_Ens));
    ens_last_->setText(Integer(ds.Last_Ens));

    Buttons_To_Flags(profile_type_, s.Profile_Select);
    s.Profile_Style_1 = profile_style_[0]->isChecked();
    s.Profile_Style_2 = profile_style_[1]->isChecked();
    s.Profile_Style_3 = profile_style_[2]->isChecked();
    fix.Take_Scale(profile_scale_, k_profile_scale_names, s.Profile_Scale_Min, s.Profile_Scale_Max);
    s.Cursor_Ens = Field_Int(profile_ens_, 8);
    if (ds.File_Loaded) ds.Cursor_Ens = s.Cursor_Ens;

    for (int p = 1; p <= series_bins_->count(); ++p) {
        const std::int32_t index = Bin_Index_Of_Position(p, num_bins, down);
        if (index >= 0) ds.Series_Bins[static_cast<std::size_t>(index)] = series_bins_->item(p - 1)->checkState() == Qt::Checked;
    }
    Store_Series_Bins(ds, s, num_bins);
    s.Series_Style_1 = series_style_[0]->isChecked();
    s.Series_Style_2 = series_style_[1]->isChecked();
    s.Series_Style_3 = series_style_[2]->isChecked();
    s.Series_Style_4 = series_style_[3]->isChecked();
    Buttons_To_Flags(series_type_, s.Series_Select);
    fix.Take_Scale(series_scale_, k_profile_scale_names, s.Series_Scale_Min, s.Series_Scale_Max);
    const double interval = Parse_Interval(averaging_interval_->text().toStdString());
    if (std::string note = Check_Number("Averaging Interval", interval, k_interval_limits, s.Averaging_Interval); note.empty()) {
        s.Averaging_Interval = interval;
    } else {
        fix.notes.push_back(std::move(note));
    }
    averaging_interval_->setText(QString::fromStdString(Format_Interval(s.Averaging_Interval)));
    s.Averaging_All = !averaging_[1]->isChecked();

    Buttons_To_Flags(anc_type_, s.Anc_Select);
    Buttons_To_Flags(anc_vel_, s.Series_Select, k_type_bt);
    s.Anc_Style_1 = anc_style_[0]->isChecked();
    s.Anc_Style_2 = anc_style_[1]->isChecked();
    s.Anc_Style_3 = anc_style_[2]->isChecked();
    fix.Take_Scale(anc_scale_, k_anc_scale_names, s.Anc_Scale_Min, s.Anc_Scale_Max);
    s.Water_Density = static_cast<float>(fix.Take(water_density_, 6, "Water Density", k_density_limits, s.Water_Density));

    // Processing happens while ensembles load: a change here reopens the file.
    const std::int32_t reference = std::max(Checked_Index(vel_reference_), 0);
    const double vel_scale = fix.Take(vel_scale_, 8, "Water", k_vel_scale_limits, s.Vel_Scale);
    const double bt_vel_scale = fix.Take(bt_vel_scale_, 8, "Bottom", k_vel_scale_limits, s.BT_Vel_Scale);
    std::array<bool, k_eop_option_count> eop{};
    Buttons_To_Flags(eop_, eop);
    if (reference != s.Vel_Reference || vel_scale != s.Vel_Scale || bt_vel_scale != s.BT_Vel_Scale || eop != s.EoP_Options) {
        s.Vel_Reference = reference;
        s.Vel_Scale = vel_scale;
        s.BT_Vel_Scale = bt_vel_scale;
        s.EoP_Options = eop;
        reopen_ = true;
    }

    if (!fix.notes.empty()) {
        std::string text;
        for (const std::string& note : fix.notes) text += (text.empty() ? "" : "\n") + note;
        shell_.Show_Message(text);
    }
}

void Chart_Options_Dialog::Apply() {
    // A running load or export reads the settings and the Sub Set: they change after it.
    if (shell_.Is_Busy()) return;
    Dialog_To_Options();
    Set_Changed(false);
    if (reopen_) {
        reopen_ = false;
        shell_.Reopen();
    } else {
        shell_.Show_Selected_Data(shell_.State().settings.Contour_Code);
    }
    if (!options_file_.empty()) Save_Options(shell_.State().settings, options_file_);
}

void Chart_Options_Dialog::Ok() {
    if (shell_.Is_Busy()) return;
    Apply();
    close();
}

namespace {

// The settings the dialog does not show and the loaded arrays depend on survive Default and Load.
struct Kept_Settings {
    std::int32_t Max_Sub_Ens;
    explicit Kept_Settings(const Settings& s) : Max_Sub_Ens(s.Max_Sub_Ens) {}
    void Restore(Settings& s) const { s.Max_Sub_Ens = Max_Sub_Ens; }
};

bool Same_Processing(const Settings& a, const Settings& b) {
    return a.Vel_Reference == b.Vel_Reference && a.Vel_Scale == b.Vel_Scale && a.BT_Vel_Scale == b.BT_Vel_Scale &&
           a.EoP_Options == b.EoP_Options;
}

}  // namespace

void Chart_Options_Dialog::Replace_Store(const std::function<void(Settings&)>& fill) {
    if (shell_.Is_Busy()) return;
    Settings& s = shell_.State().settings;
    const Settings before = s;
    fill(s);
    Kept_Settings(before).Restore(s);
    if (!Same_Processing(before, s)) reopen_ = true;
    // The controls show what the store now holds, so that OK does not write the old values back.
    Options_To_Dialog();
    Show_Flow_Meter_Captions();
    Set_Changed(true);
}

void Chart_Options_Dialog::Default_Click() { Replace_Store([](Settings& s) { Load_Default_Options(s); }); }

void Chart_Options_Dialog::Load_Click() {
    const std::string name = Choose_File(false);
    if (name.empty()) return;
    Options_Load loaded;
    Replace_Store([&](Settings& s) { loaded = Load_Options(s, name); });
    // A file that stopped early, or could not be read, says so and where.
    if (!loaded.outcome) shell_.Show_Message(loaded.outcome.message);
}

void Chart_Options_Dialog::Save_Click() {
    const std::string name = Choose_File(true);
    if (name.empty()) return;
    // A file the user names is theirs: one that holds data is refused.
    if (const Outcome saved = Save_Options(shell_.State().settings, name, Existing_Output::k_refuse); !saved)
        shell_.Show_Message(saved.message);
}

std::string Chart_Options_Dialog::Choose_File(bool save) {
    if (file_chooser) return file_chooser(save);
    QFileDialog dialog(this, save ? QStringLiteral("Save") : QStringLiteral("Load"), QString(),
                       QStringLiteral("Settings files (*.txt)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Saving refuses a non-empty file itself, with its own message.
    if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace vantrel
