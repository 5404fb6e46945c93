#pragma once
// The "Vantrel File Details" window: the set-up report of any ensemble file and the live
// ensemble statistics of a scan of it, with its own decoding state, so the loaded data set
// and the next reload or save of the loaded file are left alone.

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "decode/file_details.h"
#include "platform/progress.h"

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vantrel {

class Shell;

class File_Details_Window : public QWidget {
    Q_OBJECT

public:
    explicit File_Details_Window(Shell& shell, QWidget* parent = nullptr);

    // Asks for a file (its own dialog) and shows its details; nothing while a scan runs.
    void Show_Details();
    // The report and the statistics scan of file_name.
    void Show_File_Details(const std::string& file_name);

    QSize sizeHint() const override;

    bool Scanning() const { return scanning_; }
    void Stop() { hooks_.stop_requested = true; }

    QPlainTextEdit& Text1() { return *text_; }
    // FirEns, LasEns, MisEns, RepEns, ResEns, OthEns in the order of Ens_Statistic.
    const QLabel& Statistic(Ens_Statistic which) const { return *values_[static_cast<std::size_t>(which)]; }
    QProgressBar& Progress() { return *bar_; }
    QPushButton& Stop_Button() { return *stop_; }

    // Replaces the file dialog; tests and scripts.
    std::function<std::string()> file_chooser;
    // Runs at every refresh of the counters during a scan; tests.
    std::function<void(const Ens_Statistics&)> on_refresh;
    void Set_Refresh_Interval_Ms(std::int64_t ms) { refresh_ms_ = ms; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::string Choose_File();
    void Show_Statistics(const Ens_Statistics& stats);
    void Refresh_If_Due(const Ens_Statistics& stats);

    Shell& shell_;
    QPlainTextEdit* text_;
    std::array<QLabel*, 6> values_{};
    QProgressBar* bar_;
    QPushButton* open_;
    QPushButton* stop_;
    Progress_Hooks hooks_;
    bool scanning_ = false;
    std::int64_t refresh_ms_ = 30;  // between repaints of the counters during a scan
    std::int64_t last_refresh_ms_ = -1000;
};

}  // namespace vantrel
