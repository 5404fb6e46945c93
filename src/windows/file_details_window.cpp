#include "windows/file_details_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "app_state.h"
#include "windows/elapsed.h"
#include "windows/report_box.h"
#include "windows/shell.h"

namespace vantrel {

namespace {

std::int64_t Value_Of(const Ens_Statistics& s, std::size_t i) {
    const std::int64_t values[] = {s.First, s.Last, s.Missing, s.Repeats, s.Resets, s.Wrong_Size};
    return values[i];
}

}  // namespace

File_Details_Window::File_Details_Window(Shell& shell, QWidget* parent)
    : QWidget(parent),
      shell_(shell),
      text_(Make_Report_Box(this, 9)),
      bar_(new QProgressBar(this)),
      open_(new QPushButton(QStringLiteral("&Open..."), this)),
      stop_(new QPushButton(QStringLiteral("&Stop"), this)) {
    setWindowTitle(QStringLiteral("Vantrel File Details"));
    auto* Frame1 = new QGroupBox(QStringLiteral("Ensemble Statistics"), this);
    auto* counters = new QGridLayout(Frame1);
    const char* const captions[] = {"First", "Last", "Missing", "Repeats", "Resets", "Wrong Size"};
    for (std::size_t i = 0; i < values_.size(); ++i) {
        values_[i] = new QLabel(QStringLiteral("0"), Frame1);
        values_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        values_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        const int row = static_cast<int>(i % 3), column = static_cast<int>(i / 3) * 2;
        counters->addWidget(new QLabel(QString::fromLatin1(captions[i]), Frame1), row, column);
        counters->addWidget(values_[i], row, column + 1);
    }
    counters->setColumnStretch(1, 1);
    counters->setColumnStretch(3, 1);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    stop_->setEnabled(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(text_, 0, 0, 1, 3);
    layout->addWidget(Frame1, 1, 0, 1, 3);
    layout->addWidget(bar_, 2, 0);
    layout->addWidget(stop_, 2, 1);
    layout->addWidget(open_, 2, 2);
    layout->setRowStretch(0, 1);

    hooks_.on_yield = [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
    hooks_.on_percent = [this](int percent) { bar_->setValue(percent); };
    connect(stop_, &QPushButton::clicked, this, &File_Details_Window::Stop);
    connect(open_, &QPushButton::clicked, this, &File_Details_Window::Show_Details);
}

QSize File_Details_Window::sizeHint() const {
    // The report's longest lines and most of its rows, above the counters.
    const QFontMetrics metrics(text_->font());
    return {metrics.horizontalAdvance(QLatin1Char('W')) * 64, metrics.height() * 40};
}

std::string File_Details_Window::Choose_File() {
    if (file_chooser) return file_chooser();
    return QFileDialog::getOpenFileName(this, QStringLiteral("File Details"), QString(),
                                        QStringLiteral("Ensemble files (*.ens *.enr *.enx *.sta *.lta *.ENS *.ENR "
                                                       "*.ENX *.STA *.LTA *.000);;All files (*)"))
        .toStdString();
}

void File_Details_Window::Show_Details() {
    if (scanning_) return;
    const std::string name = Choose_File();
    if (name.empty()) return;
    Show_File_Details(name);
}

void File_Details_Window::Show_File_Details(const std::string& file_name) {
    if (scanning_) return;
    scanning_ = true;
    hooks_.stop_requested = false;
    Show_Statistics({});
    text_->clear();
    bar_->setValue(0);
    stop_->setEnabled(true);
    open_->setEnabled(false);
    setWindowTitle(QStringLiteral("Vantrel File Details - ") + QString::fromStdString(file_name));

    const App_State& app = shell_.State();
    // The counters change at every ensemble; they are painted at the throttled rate, which
    // is also when the window answers its Stop button.
    const File_Details_Result result = vantrel::Show_File_Details(
        file_name, app.dec, Decode_Options_Of(app.settings, app.menus.Flip_Checked),
        [this](Ens_Statistic, const Ens_Statistics& stats) { Refresh_If_Due(stats); }, hooks_,
        [this](const std::string& report) { Set_Report_Text(*text_, report); });

    scanning_ = false;
    stop_->setEnabled(false);
    open_->setEnabled(true);
    if (!result.opened) {
        shell_.Show_Message("Invalid File");
        return;
    }
    Set_Report_Text(*text_, result.report);
    Show_Statistics(result.stats);
    if (!hooks_.stop_requested) bar_->setValue(100);
}

void File_Details_Window::Refresh_If_Due(const Ens_Statistics& stats) {
    const std::int64_t now = Now_Ms();
    if (now - last_refresh_ms_ < refresh_ms_) return;
    last_refresh_ms_ = now;
    Show_Statistics(stats);
    if (on_refresh) on_refresh(stats);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void File_Details_Window::Show_Statistics(const Ens_Statistics& stats) {
    for (std::size_t i = 0; i < values_.size(); ++i) values_[i]->setText(QString::number(Value_Of(stats, i)));
}

void File_Details_Window::closeEvent(QCloseEvent* event) {
    // A running scan ends at its next refresh; the window only hides.
    Stop();
    QWidget::closeEvent(event);
}

}  // namespace vantrel
