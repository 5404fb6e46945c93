#pragma once
// "Vantrel Chart Options": the settings of the contour, profile, series and ancillary charts
// and of the processing, on five tabs. Apply and OK store them and redraw, or reopen the file
// when the processing changed; Default, Load and Save work on the whole store.

#include <QDialog>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "windows/option_controls.h"

class QAbstractButton;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace vantrel {

class Shell;
struct Settings;

class Chart_Options_Dialog : public QDialog {
    Q_OBJECT

public:
    // options_file: where Apply saves the settings (empty: nowhere).
    Chart_Options_Dialog(Shell& shell, std::filesystem::path options_file, QWidget* parent = nullptr);

    // Fills the controls from the settings on tab (1..5; another number: 1) and shows the
    // dialog when display, unless monitoring is on.
    void ForceLoad(bool display, int tab);
    void Options_To_Dialog();
    // The bin list alone from Series_Bins, leaving the other controls as the user left them.
    void Show_Series_Bins();
    // Stores the controls in the settings; numbers outside their limits keep the old value
    // and are named in one message.
    void Dialog_To_Options();

    void Apply();
    void Ok();
    void Default_Click();
    void Load_Click();
    void Save_Click();

    QTabWidget& Tabs() { return *tbsOptions; }
    // Replaces the file dialogs (save: the save dialog); tests.
    std::function<std::string(bool save)> file_chooser;

private:
    QWidget* Build_Contour_Page();
    QWidget* Build_Profile_Page();
    QWidget* Build_Series_Page();
    QWidget* Build_Ancillary_Page();
    QWidget* Build_Processing_Page();
    void Watch_Changes();
    void Set_Changed(bool changed);
    void Show_Flow_Meter_Captions();
    std::string Choose_File(bool save);
    // Refills the store with fill, keeping what the loaded arrays depend on, and the controls.
    void Replace_Store(const std::function<void(Settings&)>& fill);

    Shell& shell_;
    std::filesystem::path options_file_;
    bool reopen_ = false;
    bool centred_ = false;  // Reopen_Index: the processing changed, Apply reopens the file

    QTabWidget* tbsOptions;
    // Contour.
    std::vector<QAbstractButton*> contour_type_, contour_scale_mode_, contour_switch_;
    QLineEdit *contour_min_ = nullptr, *contour_max_ = nullptr;
    QLineEdit *sel_first_ = nullptr, *sel_last_ = nullptr;
    QLineEdit *bin_first_ = nullptr, *bin_last_ = nullptr, *ens_first_ = nullptr, *ens_last_ = nullptr;
    // Profile.
    std::vector<QAbstractButton*> profile_type_, profile_style_;
    Scale_Fields profile_scale_;
    QLineEdit* profile_ens_ = nullptr;
    // Series.
    std::vector<QAbstractButton*> series_type_, series_style_, averaging_;
    Scale_Fields series_scale_;
    QListWidget* series_bins_ = nullptr;
    QLineEdit* averaging_interval_ = nullptr;
    // Ancillary: anc_vel_[i] is series box 20 + i.
    std::vector<QAbstractButton*> anc_type_, anc_vel_, anc_style_;
    Scale_Fields anc_scale_;
    QLineEdit* water_density_ = nullptr;
    // Processing.
    std::vector<QAbstractButton*> vel_reference_, eop_;
    QLineEdit *vel_scale_ = nullptr, *bt_vel_scale_ = nullptr;

    QPushButton *ok_ = nullptr, *cancel_ = nullptr, *apply_ = nullptr, *default_ = nullptr, *load_ = nullptr, *save_ = nullptr;
};

}  // namespace vantrel
