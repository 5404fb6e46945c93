#include <QAction>
#include <QClipboard>
#include <QMdiArea>
#include <QMenu>
#include <QPlainTextEdit>
#include <cmath>
#include <fstream>

#include <array>
#include <filesystem>
#include <tuple>
#include <utility>

#include "gui_fixture.h"
#include "windows/information_window.h"
#include "platform/program_messages.h"
#include "windows/chart_widget.h"
#include "windows/whole_set_window.h"

namespace vantrel::test {
namespace {

TEST_F(Gui_Test, MaxEnsemblesLimitsTheAnswerAndReloadsTheSubSet) {
    W().Start({Synth("a.ens", 1000)});
    const Data_Set& ds = W().State().ds;
    const std::int32_t& max_sub = W().State().settings.Max_Sub_Ens;
    Answer_Input_Box(QStringLiteral("5"));
    W().Menus().Max_Ensembles->trigger();
    EXPECT_EQ((std::pair{max_sub, ds.Sub_Count}), (std::pair{128, 128}));
    const std::int32_t whole = ds.Whole_Count;
    Answer_Input_Box(QString());
    W().Menus().Max_Ensembles->trigger();
    Answer_Input_Box(QStringLiteral("300"), true);
    W().Menus().Max_Ensembles->trigger();
    EXPECT_EQ((std::tuple{max_sub, ds.Whole_Count, ds.File_Loaded}), (std::tuple{128, whole, true}));
}

TEST_F(Gui_Test, SaveSubSetWritesTheRangeAndRefusesANonEmptyTarget) {
    const std::string source = Synth("a.ens", 500);
    W().Start({source});
    const std::string taken = folder_.Path("taken.ens");
    std::ofstream(taken) << "x";
    std::string target = taken;
    W().file_chooser = [&](bool save) { return save ? target : std::string(); };
    W().Menus().Save_View_Data_Set->trigger();
    EXPECT_EQ((std::pair{W().Last_Message().toStdString(), std::filesystem::file_size(taken)}), (std::pair{std::string(k_overwrite_refused), std::uintmax_t{1}}));

    target = folder_.Path("sub.ens");
    W().Menus().Save_View_Data_Set->trigger();
    const Data_Set& ds = W().State().ds;
    const auto record = static_cast<std::uintmax_t>(W().State().dec.Ens_Bytes + 2);
    EXPECT_EQ(std::filesystem::file_size(target), record * static_cast<std::uintmax_t>(ds.Last_Ens - ds.First_Ens + 1));
}

TEST_F(Gui_Test, MonitoringReloadsAFileOnlyWhenItGrows) {
    const std::string path = Synth("live.ens", 300);
    W().Start({path});
    Answer_Input_Box(QStringLiteral("1"));
    W().Menus().TrackInt->trigger();
    ASSERT_EQ(W().Monitor_Interval(), 1);
    W().Menus().AutoTrack->trigger();
    ASSERT_TRUE(W().Monitoring());
    const int opens = W().Opens_Finished();
    for (int i = 0; i < 6; ++i) W().Timer1_Tick();
    EXPECT_EQ(W().Opens_Finished(), opens) << "the file has not grown";

    Synth("live.ens", 420);
    {
        Busy_Scope busy(W(), Busy_Work::k_export);  // a tick during other work waits for the next
        for (int i = 0; i < 8; ++i) W().Timer1_Tick();
        EXPECT_EQ(W().State().ds.File_Last_Ens, 300);
    }
    for (int i = 0; i < 2; ++i) W().Timer1_Tick();
    // Reloaded once, showing the newest ensembles.
    EXPECT_EQ((std::tuple{W().Opens_Finished(), W().State().ds.File_Last_Ens, W().State().ds.Last_Ens}), (std::tuple{opens + 1, 420, 420}));
    for (int i = 0; i < 4; ++i) W().Timer1_Tick();
    EXPECT_EQ(W().Opens_Finished(), opens + 1);

    // A reload that fails, here of a file gone, holds no box up: monitoring goes on and
    // picks the file up again once it is back.
    std::filesystem::remove(path);
    for (int i = 0; i < 2; ++i) W().Timer1_Tick();
    EXPECT_EQ((std::tuple{W().Opens_Finished(), W().Last_Message().isEmpty(), W().Info().Text1().toPlainText().trimmed().endsWith("Invalid File")}),
              (std::tuple{opens + 2, true, true}));
    Synth("live.ens", 500);
    for (int i = 0; i < 2; ++i) W().Timer1_Tick();
    EXPECT_EQ((std::pair{W().Opens_Finished(), W().State().ds.File_Last_Ens}), (std::pair{opens + 3, 500}));

    W().Menus().AutoTrack->trigger();
    EXPECT_EQ((std::pair{W().Monitoring(), W().Menus().File->menuAction()->isEnabled()}), (std::pair{false, true}));
}

TEST_F(Gui_Test, FlipWithoutAFileOnlyTogglesWithOneReloadsAndCopyPutsTheChartOnTheClipboard) {
    W().Start({});
    W().Menus().Flip_Over->trigger();
    EXPECT_EQ((std::pair{W().State().menus.Flip_Checked, W().Opens_Finished()}), (std::pair{true, 0}));
    W().Open_File_Now(Synth("a.ens", 300));
    W().Menus().Flip_Over->trigger();
    EXPECT_EQ((std::tuple{W().State().menus.Flip_Checked, W().Opens_Finished(), W().State().ds.File_Loaded}), (std::tuple{false, 2, true}));

    W().Menus().Copy_Form[0]->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), W().Whole().Chart().size() * W().devicePixelRatioF());
}

TEST_F(Gui_Test, AlignFormsPlacesTheWindowsAndAClosedOneUnchecksItsItemAndStaysClosed) {
    W().Start({});
    W().Whole_Frame().showMaximized();
    W().Menus().Align_Forms->trigger();
    EXPECT_TRUE(W().Whole_Frame().isMaximized());
    const QSize inner = W().Mdi().viewport()->size();
    const int third = static_cast<int>(std::lround(inner.height() / 3.0));
    EXPECT_EQ(W().Sub_Frame().geometry(), QRect(0, third, inner.width(), inner.height() - third));

    W().Sub_Frame().close();
    W().file_chooser = [](bool) { return std::string(); };
    W().Menus().Open_File->trigger();
    EXPECT_EQ((std::tuple{W().Menus().Show_Sub->isChecked(), W().Whole_Frame().isVisible(), W().Sub_Frame().isVisible()}),
              (std::tuple{false, true, false}));
    W().Menus().Show_Sub->trigger();
    EXPECT_TRUE(W().Sub_Frame().isVisible());
}

}  // namespace
}  // namespace vantrel::test
