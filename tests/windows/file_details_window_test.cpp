#include <array>
#include <string>

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gui_fixture.h"
#include "support/cli_run.h"
#include "support/bb_builder.h"
#include "windows/file_details_window.h"

namespace vantrel::test {
namespace {

class Details_Test : public Gui_Test {
protected:
    File_Details_Window& D() { return W().Details(); }
    std::string Shown(Ens_Statistic which) { return D().Statistic(which).text().toStdString(); }
    // "&File Details" with the dialog answered by name.
    void Details_Of(const std::string& name) {
        D().file_chooser = [name] { return name; };
        W().Menus().File_Details->trigger();
    }
};

TEST_F(Details_Test, CountsMissingRepeatsAndResetsRefusesAFileItCannotReadAndStopEndsALongScan) {
    Bytes data;
    for (std::uint32_t n : {1, 2, 4, 4, 2, 3}) Append(data, Build_BB_Ensemble({.ens_number = n, .record_bytes = 1000}));
    Details_Of(folder_.Write("seq.ens", data));
    EXPECT_TRUE(W().Details_Frame().isVisible());
    EXPECT_EQ((std::array{Shown(Ens_Statistic::First), Shown(Ens_Statistic::Last), Shown(Ens_Statistic::Missing),
                          Shown(Ens_Statistic::Repeats), Shown(Ens_Statistic::Resets), Shown(Ens_Statistic::Wrong_Size)}),
              (std::array<std::string, 6>{"1", "3", "1", "1", "1", "0"}));
    EXPECT_TRUE(D().Text1().toPlainText().startsWith(QStringLiteral("File Size 6,000 bytes\nData Structure BB/KX/LM\n")));
    EXPECT_TRUE(W().Last_Message().isEmpty());

    Details_Of(folder_.Path("missing.ens"));
    EXPECT_EQ(W().Last_Message(), QStringLiteral("Invalid File"));

    const std::int64_t total = 200000;
    const std::string path = Synth("large.ens", total, 4);
    std::vector<std::int64_t> seen;
    D().Set_Refresh_Interval_Ms(0);  // a fast scan would otherwise finish within two intervals
    D().on_refresh = [&](const Ens_Statistics& s) {
        seen.push_back(std::stoll(Shown(Ens_Statistic::Last)));
        EXPECT_EQ(seen.back(), s.Last);
        if (seen.size() == 2) QTest::mouseClick(&D().Stop_Button(), Qt::LeftButton);
    };
    Details_Of(path);
    ASSERT_GE(seen.size(), 2u) << "the counters were painted only at the end";
    EXPECT_LT(seen[0], seen[1]);
    EXPECT_LT(std::stoll(Shown(Ens_Statistic::Last)), total);
    EXPECT_EQ((std::pair{D().Scanning(), D().Stop_Button().isEnabled()}), (std::pair{false, false}));
}

TEST_F(Details_Test, DetailsOfAnotherFileLeaveTheLoadedFilesReloadAndSaveByteExact) {
    const std::string loaded = Synth("loaded.ens", 400, 20);
    const std::string other = Synth("other.ens", 300, 35);
    W().Start({loaded});
    ASSERT_TRUE(W().State().ds.File_Loaded);
    const auto save = [&](const std::string& name) {
        const std::string target = folder_.Path(name);
        W().file_chooser = [target](bool) { return target; };
        W().Save_Range(false);
        return Read_File_Text(target);
    };
    const std::string before = save("before.ens");
    ASSERT_FALSE(before.empty());

    Details_Of(other);
    ASSERT_EQ(Shown(Ens_Statistic::Last), "300");
    EXPECT_EQ(save("between.ens"), before);
    W().Reopen();
    EXPECT_EQ(save("after.ens"), before);
}

}  // namespace
}  // namespace vantrel::test
