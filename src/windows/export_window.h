#pragma once
// "Vantrel Export Options": what to export on three tabs (contour, profile, series and
// ancillary), and "Write File", which runs the writer of the shown tab into a new file with
// the shell's busy state held; "Quit Export" stops a running export or closes the window.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "export/export_selection.h"
#include "platform/progress.h"

class QAbstractButton;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace vantrel {

class Shell;

class Export_Window : public QDialog {
    Q_OBJECT

public:
    explicit Export_Window(Shell& shell, QWidget* parent = nullptr);

    // Fills the data types and ensemble fields from the settings and the Sub Set and shows
    // the window; the bin lists and file types keep what the user chose.
    void Load_Folders();
    void Write_File();
    void Quit_Export();

    // The controls as the writers read them.
    Export_Selection Selection() const;
    bool Busy() const { return busy_; }
    QTabWidget& Tabs() { return *tbsOptions; }
    QProgressBar& Progress() { return *progress_; }
    QPushButton& Write_Button() { return *write_; }
    QPushButton& Quit_Button() { return *quit_; }

    // Replaces the save dialog (argument: the file type); tests.
    std::function<std::string(Export_File_Type)> file_chooser;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The controls of one tab's "Bins" and "File Type" groups and its ensemble fields.
    struct Tab_Controls {
        QListWidget* bins = nullptr;
        std::vector<QAbstractButton*> file_type;
        QLineEdit *first = nullptr, *last = nullptr, *step = nullptr;
    };

    QWidget* Build_Contour_Page();
    QWidget* Build_Profile_Page();
    QWidget* Build_Series_Page();
    QWidget* Bins_Group(QWidget* page, Tab_Controls& tab);
    QWidget* File_Type_Group(QWidget* page, Tab_Controls& tab);
    QWidget* Range_Group(QWidget* page, Tab_Controls& tab);
    void Select_Bins(QListWidget& list, bool selected);
    void Show_Range(const Range_Fields& range, const Tab_Controls& tab);
    std::string Choose_File(Export_File_Type type);

    Shell& shell_;
    bool busy_ = false;
    bool centred_ = false;
    Progress_Hooks hooks_;  // the running writer's percent, yield and stop request
    std::int64_t last_yield_ms_ = 0;

    QTabWidget* tbsOptions;
    std::vector<QAbstractButton*> contour_type_, profile_type_;
    std::vector<QAbstractButton*> series_type_;  // indexed by series type 0..39
    std::vector<QAbstractButton*> anc_type_;
    QLineEdit* profile_ens_ = nullptr;
    Tab_Controls contour_, profile_, series_;
    QPushButton *write_ = nullptr, *quit_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QString last_mat_name_;
};

}  // namespace vantrel
