#pragma once
// A main window on its own settings folder, with synthetic files made on demand, and
// helpers that answer the modal dialogs a command opens.

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "charts/chart_interaction.h"
#include "synth_writer.h"
#include "windows/main_window.h"

namespace vantrel {
// A failed range check names the range rather than its bytes.
inline void PrintTo(const Sub_Range& r, std::ostream* out) {
    *out << "ensembles " << r.first_ens << ".." << r.last_ens << ", bins " << r.first_bin << ".." << r.last_bin;
}
}  // namespace vantrel

namespace vantrel::test {

class Gui_Test : public ::testing::Test {
protected:
    Gui_Test() {
        window_ = std::make_unique<Main_Window>(
            Shell_Paths{.options_file = folder_.Path("VTRLOps.Txt"), .recent_file = folder_.Path("VTRLFile.txt")});
        window_->quiet = true;
        window_->show();
    }

    // A synthetic file under name in the test's folder.
    std::string Synth(const std::string& name, const synth::Synth_Options& opt) {
        const std::string path = folder_.Path(name);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        synth::Write_Synth_File(path, opt);
        return path;
    }
    std::string Synth(const std::string& name, std::int64_t n, int bins = 20) {
        return Synth(name, {.ensembles = n, .bins = bins});
    }

    Main_Window& W() { return *window_; }
    Temp_Folder folder_;
    std::unique_ptr<Main_Window> window_;
};

// A Sub Set's first and last ensemble and first and last bin, compared in one check.
inline Sub_Range Range_Of(const Data_Set& ds) { return {ds.First_Ens, ds.Last_Ens, ds.First_Bin, ds.Last_Bin}; }

// Runs action at the first turn of the event loop at which condition holds.
inline void When(std::function<bool()> condition, std::function<void()> action) {
    auto* timer = new QTimer(qApp);  // owned by the application, deleted when it fires
    QObject::connect(timer, &QTimer::timeout, qApp, [timer, condition = std::move(condition), action = std::move(action)] {
        if (!condition()) return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start(0);
}

// The push button under parent captioned caption (access keys ignored).
inline QPushButton& Button(const QWidget& parent, const char* caption) {
    for (QPushButton* b : parent.findChildren<QPushButton*>()) {
        if (b->text().remove(QLatin1Char('&')) == QLatin1String(caption)) return *b;
    }
    throw std::runtime_error(std::string("no button ") + caption);
}
inline void Press(const QWidget& parent, const char* caption) { QTest::mouseClick(&Button(parent, caption), Qt::LeftButton); }

// Types answer into the next input box, once the command's modal dialog runs the event loop,
// and presses Enter (Escape when cancel).
inline void Answer_Input_Box(const QString& answer, bool cancel = false) {
    QTimer::singleShot(0, qApp, [answer, cancel] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!box) return;
        auto* edit = box->findChild<QLineEdit*>();
        if (edit) {
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, answer);
        }
        QTest::keyClick(box, cancel ? Qt::Key_Escape : Qt::Key_Return);
    });
}

}  // namespace vantrel::test
