#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <fstream>
#include <iterator>

#include "gui_fixture.h"
#include "windows/chart_options_dialog.h"
#include "windows/progress_window.h"

namespace vantrel::test {
namespace {

std::string Read_All(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Data_Menus_Enabled(const Main_Window& w) {
    const Main_Menus& m = w.Menus();
    return m.File->menuAction()->isEnabled() && m.Edit->menuAction()->isEnabled() &&
           m.Options->menuAction()->isEnabled() && m.Animate->menuAction()->isEnabled();
}

TEST_F(Gui_Test, CommandLineOpensAQuotedPathWithBlanksAndKeepsItInTheRecentFile) {
    const std::string path = Synth("with blanks/a file.ens", 300);
    W().Start({path});
    EXPECT_TRUE(W().State().ds.File_Loaded);
    EXPECT_EQ(W().windowTitle().toStdString(), "Vantrel - " + path);
    EXPECT_EQ(Read_All(folder_.Path("VTRLFile.txt")), "\"" + path + "\"\r\n");
    EXPECT_TRUE(W().Menus().Old_File[0]->isChecked());
    EXPECT_FALSE(W().Menus().AutoTrack->isChecked());
}

TEST_F(Gui_Test, CommandLineEndingInMonitorIntervalMonitorsTheFile) {
    const std::string path = Synth("run 1.ens", 300);
    W().Start({path, "-M0030"});
    EXPECT_TRUE(W().State().ds.File_Loaded);
    EXPECT_EQ(W().State().load.File_Name, path);
    EXPECT_TRUE(W().Menus().AutoTrack->isChecked());
    EXPECT_EQ(W().Monitor_Interval(), 30);
    // Monitoring keeps the data menus off and shows the newest ensembles.
    EXPECT_FALSE(Data_Menus_Enabled(W()));
    EXPECT_EQ(W().State().ds.Last_Ens, 300);
}

TEST_F(Gui_Test, MenusAreDisabledDuringALoadAndEnabledAfterIt) {
    const std::string path = Synth("a.ens", 3000);
    W().Start({});
    bool checked = false, enabled_during = true, busy_during = false;
    When_Idle([&] {
        checked = true;
        enabled_during = Data_Menus_Enabled(W());
        busy_during = W().Is_Busy();
    });
    W().Open_File_Now(path);
    ASSERT_TRUE(checked) << "the load never let the event loop run";
    EXPECT_FALSE(enabled_during);
    EXPECT_TRUE(busy_during);
    EXPECT_TRUE(Data_Menus_Enabled(W()));
    EXPECT_FALSE(W().Is_Busy());
    EXPECT_TRUE(W().State().ds.File_Loaded);
}

// A walk long enough to be stopped: every 49th of 200000 ensembles, up to 4096.
class Large_Load_Test : public Gui_Test {
protected:
    void SetUp() override {
        path_ = Synth("large.ens", k_ensembles, 4);
        W().Start({});
        W().State().settings.Max_Whole_Ens = k_whole;
        W().Set_Yield_Interval_Ms(0);  // a fast walk would otherwise end before its first turn
    }
    bool Walk_Under_Way() { return W().Progress().isVisible() && W().Progress().ProgressBar1().value() >= 1; }

    static constexpr std::int64_t k_ensembles = 200000;
    static constexpr std::int32_t k_whole = 4096;
    std::string path_;
};

TEST_F(Large_Load_Test, StopEndsTheLoadAndKeepsWhatWasRead) {
    QElapsedTimer since_stop;
    When([this] { return Walk_Under_Way(); },
         [&] {
             QTest::mouseClick(&W().Progress().Stop_Button(), Qt::LeftButton);
             since_stop.start();
         });
    W().Open_File_Now(path_);
    ASSERT_TRUE(since_stop.isValid());
    EXPECT_LT(since_stop.elapsed(), 500);  // the walk ends at once; the rest is the Sub Set and drawing
    const Data_Set& ds = W().State().ds;
    EXPECT_TRUE(ds.File_Loaded);
    EXPECT_LT(ds.Whole_Count, k_whole);
    EXPECT_GT(ds.Sub_Count, 0);  // the Sub Set of what was read still loads
    EXPECT_FALSE(W().Progress().isVisible());
}

TEST_F(Large_Load_Test, ClosingWhileALoadRunsStopsItThenSavesAndCloses) {
    bool refused_at_once = false;
    When([this] { return Walk_Under_Way(); }, [&] { refused_at_once = !W().close() && W().isVisible(); });
    W().Open_File_Now(path_);
    EXPECT_TRUE(refused_at_once);
    QApplication::processEvents();
    EXPECT_FALSE(W().isVisible());
    EXPECT_TRUE(std::filesystem::exists(folder_.Path("VTRLOps.Txt")));
    EXPECT_LT(W().State().ds.Whole_Count, k_whole);
}

TEST_F(Gui_Test, StartUpClosesTheChartOptionsDialog) {
    W().Start({Synth("a.ens", 300)});
    W().Open_Chart_Options(2);
    ASSERT_TRUE(W().Options()->isVisible());
    W().Start({});
    ASSERT_NE(W().Options(), nullptr);
    EXPECT_FALSE(W().Options()->isVisible());
}

TEST_F(Gui_Test, ExitFromTheMenuSavesTheSettingsAndTheWindowChecks) {
    W().Start({});
    W().Menus().Show_Sub->trigger();  // unchecked: hidden
    EXPECT_FALSE(W().Sub_Frame().isVisible());
    W().Menus().Exit->trigger();
    EXPECT_FALSE(W().isVisible());
    Settings saved;
    Load_Default_Options(saved);
    ASSERT_EQ(Load_Options(saved, folder_.Path("VTRLOps.Txt")), Load_Result::k_loaded);
    EXPECT_FALSE(saved.Window_Menu_States[3]);
    EXPECT_TRUE(saved.Window_Menu_States[2]);
}

}  // namespace
}  // namespace vantrel::test
