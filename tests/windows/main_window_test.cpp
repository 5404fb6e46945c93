#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include "gui_fixture.h"
#include "support/default_settings.h"
#include "support/cli_run.h"
#include "support/expect_fields.h"
#include "windows/chart_options_dialog.h"
#include "windows/progress_window.h"

namespace vantrel::test {
namespace {

bool Data_Menus_Enabled(const Main_Window& w) {
    const Main_Menus& m = w.Menus();
    return m.File->menuAction()->isEnabled() && m.Edit->menuAction()->isEnabled() &&
           m.Options->menuAction()->isEnabled() && m.Animate->menuAction()->isEnabled();
}

TEST_F(Gui_Test, CommandLineOpensAQuotedPathWithBlanksAndEndingInAnIntervalMonitorsIt) {
    const std::string path = Synth("with blanks/a file.ens", 300);
    W().Start({path});
    EXPECT_EQ(W().windowTitle().toStdString(), "Vantrel - " + path);
    EXPECT_EQ(Read_File_Text(folder_.Path("VTRLFile.txt")), "\"" + path + "\"\r\n");
    Expect_Fields({{"loaded", W().State().ds.File_Loaded, true}, {"recent", W().Menus().Old_File[0]->isChecked(), true},
                   {"monitor", W().Menus().AutoTrack->isChecked(), false}});

    // A second start-up closes the options dialog and takes the monitor interval.
    W().Open_Chart_Options(2);
    ASSERT_TRUE(W().Options()->isVisible());
    W().Start({path, "-M0030"});
    EXPECT_EQ(W().State().load.File_Name, path);
    Expect_Fields({{"options shown", W().Options()->isVisible(), false}, {"monitor", W().Menus().AutoTrack->isChecked(), true},
                   {"interval", W().Monitor_Interval(), 30}});
    // Monitoring keeps the data menus off and shows the newest ensembles.
    EXPECT_FALSE(Data_Menus_Enabled(W()));
    EXPECT_EQ(W().State().ds.Last_Ens, 300);
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

TEST_F(Large_Load_Test, MenusAreOffDuringTheLoadAndStopEndsItKeepingWhatWasRead) {
    QElapsedTimer since_stop;
    bool menus_during = true, busy_during = false;
    When([this] { return Walk_Under_Way(); },
         [&] {
             menus_during = Data_Menus_Enabled(W());
             busy_during = W().Is_Busy();
             QTest::mouseClick(&W().Progress().Stop_Button(), Qt::LeftButton);
             since_stop.start();
         });
    W().Open_File_Now(path_);
    ASSERT_TRUE(since_stop.isValid());
    EXPECT_LT(since_stop.elapsed(), 500);  // the walk ends at once; the rest is the Sub Set and drawing
    const Data_Set& ds = W().State().ds;
    Expect_Fields({{"stopped short", ds.Whole_Count < k_whole, true}, {"the Sub Set of what was read still loads", ds.Sub_Count > 0, true},
                   {"loaded", ds.File_Loaded, true}, {"progress shown", W().Progress().isVisible(), false},
                   {"menus during", menus_during, false}, {"busy during", busy_during, true},
                   {"menus after", Data_Menus_Enabled(W()), true}, {"busy after", W().Is_Busy(), false}});
}

TEST_F(Large_Load_Test, ClosingWhileALoadRunsStopsItThenSavesAndCloses) {
    bool refused_at_once = false;
    When([this] { return Walk_Under_Way(); }, [&] { refused_at_once = !W().close() && W().isVisible(); });
    W().Open_File_Now(path_);
    QApplication::processEvents();
    Expect_Fields({{"refused at once", refused_at_once, true}, {"closed", W().isVisible(), false},
                   {"settings saved", std::filesystem::exists(folder_.Path("VTRLOps.Txt")), true},
                   {"stopped short", W().State().ds.Whole_Count < k_whole, true}});
}

TEST_F(Gui_Test, ExitFromTheMenuSavesTheSettingsAndTheWindowChecks) {
    W().Start({});
    W().Menus().Show_Sub->trigger();  // unchecked: hidden
    EXPECT_FALSE(W().Sub_Frame().isVisible());
    W().Menus().Exit->trigger();
    EXPECT_FALSE(W().isVisible());
    Settings saved = Default_Settings();
    ASSERT_EQ(Load_Options(saved, folder_.Path("VTRLOps.Txt")), Load_Result::k_loaded);
    EXPECT_EQ((std::pair{saved.Window_Menu_States[2], saved.Window_Menu_States[3]}), (std::pair{true, false}));
}

TEST_F(Gui_Test, ASavedWindowLargerThanTheScreenOrBeyondItKeepsItsPlace) {
    // Hand-edited sizes: a window of 2e9 twips took gigabytes for its picture.
    Settings s = Default_Settings();
    s.Window_Geometries[k_win_main] = {0, 0, 2000000000, 2000000000, 0};
    s.Window_Geometries[k_win_whole] = {2000000000, 0, 2000000000, 300, 0};
    s.Window_Geometries[k_win_sub] = {0, 300, 3000, 2000, 0};
    ASSERT_TRUE(Save_Options(s, folder_.Path("VTRLOps.Txt")).Ok());
    W().Start({});
    const QSize screen = W().screen()->availableSize();
    EXPECT_LE(W().width(), 2 * screen.width());
    EXPECT_LE(W().height(), 2 * screen.height());
    EXPECT_LT(W().Whole_Frame().x(), screen.width());
    EXPECT_LE(W().Whole_Frame().width(), 2 * screen.width());
    // A size that fits is still applied: 3000 twips are about 200 pixels.
    EXPECT_NEAR(W().Sub_Frame().width(), 3000 * W().logicalDpiX() / 1440, 2);
}

}  // namespace
}  // namespace vantrel::test
