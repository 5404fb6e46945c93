#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app_state.h"
#include "loading/file_loading.h"
#include "loading/save_range.h"
#include "support/child_process.h"
#include "support/cli_run.h"
#include "support/temp_folder.h"
#include "support/bb_builder.h"

namespace vantrel::test {
namespace {

Bytes Slice(const Bytes& b, std::size_t from, std::size_t n) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(from + n));
}

Bytes Read_Bytes(const std::string& path) {
    const std::string text = Read_File_Text(path);
    return Bytes(text.begin(), text.end());
}

struct Save_Range : ::testing::Test {
    Temp_Folder dir;
    App_State app;
    Open_File_Host host;

    void Open(const std::string& name) { ASSERT_EQ(Open_File(app, host, name), Outcome_Kind::k_ok); }
};

TEST_F(Save_Range, CopiesTheByteRangeAndReopensAtF) {
    const Bytes source = BB_Run(1, 1000, 1000);
    Open(dir.Write("src.ens", source));
    const std::string out = dir.Path("out.ens");
    ASSERT_EQ(Save_Ensemble_Range(app, out, 101, 356), Outcome_Kind::k_ok);
    EXPECT_EQ(Read_Bytes(out), Slice(source, 100000, 256000));

    App_State again;
    ASSERT_EQ(Open_File(again, host, out), Outcome_Kind::k_ok);
    EXPECT_EQ((std::pair{again.ds.File_First_Ens, again.ds.File_Last_Ens}), (std::pair{101, 356}));
    // No temporary file is left beside the target.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("")), std::filesystem::directory_iterator{}), 2);
}

TEST_F(Save_Range, CrossesTheFilesOfASetDroppingCutRecords) {
    const Bytes a = BB_Run(1, 50, 500);
    Bytes b = BB_Run(51, 50, 500);
    b.erase(b.end() - 100, b.end());  // the last record of file 2 is cut short
    const Bytes c = BB_Run(100, 50, 500);
    app.menus.MultiFile = true;
    const std::string first = dir.Write("set.000", a);
    dir.Write("set.001", b);
    dir.Write("set.002", c);
    Open(first);
    const std::string out = dir.Path("out.ens");
    ASSERT_EQ(Save_Ensemble_Range(app, out, 41, 110), Outcome_Kind::k_ok);
    Bytes expected = Slice(a, 40 * 500, 10 * 500);
    Append(expected, Slice(b, 0, 49 * 500));
    Append(expected, Slice(c, 0, 11 * 500));  // one record later, since one was dropped
    EXPECT_EQ(Read_Bytes(out), expected);

    // Starting in a later member.
    const std::string tail = dir.Path("tail.ens");
    ASSERT_EQ(Save_Ensemble_Range(app, tail, 61, 62), Outcome_Kind::k_ok);
    EXPECT_EQ(Read_Bytes(tail), Slice(b, 10 * 500, 2 * 500));
}

TEST_F(Save_Range, JoinsARecordCutAcrossTwoMembers) {
    // An acquisition program's set: one stream cut inside records 31 and 61.
    const Bytes stream = BB_Run(1, 100, 300);
    app.menus.MultiFile = true;
    const std::string first = dir.Write("run_000003.ENR", Slice(stream, 0, 9100));
    dir.Write("run_000004.ENR", Slice(stream, 9100, 9000));
    dir.Write("run_000005.ENR", Slice(stream, 18100, stream.size() - 18100));
    Open(first);
    const std::string out = dir.Path("out.ens");
    ASSERT_EQ(Save_Ensemble_Range(app, out, 25, 70), Outcome_Kind::k_ok);
    EXPECT_EQ(Read_Bytes(out), Slice(stream, 24 * 300, 46 * 300));

    // Lengths that vary: the ensembles are found by number, the cut one joined all the same.
    Bytes varying = BB_Run(1, 20, 300);
    Append(varying, BB_Run(21, 20, 400));
    const std::string second = dir.Write("var_000003.ENR", Slice(varying, 0, 7700));  // inside ensemble 25
    dir.Write("var_000004.ENR", Slice(varying, 7700, varying.size() - 7700));
    Open(second);
    const std::string joined = dir.Path("joined.ens");
    ASSERT_EQ(Save_Ensemble_Range(app, joined, 22, 28), Outcome_Kind::k_ok);
    EXPECT_EQ(Read_Bytes(joined), Slice(varying, 6400, 7 * 400));
}

TEST_F(Save_Range, FindsARangeWhosePositionLiesPastTheEndByNumber) {
    // Ensembles 41 to 60 are missing: the last ones lie 20 records before their positions.
    Bytes source = BB_Run(1, 40, 300);
    Append(source, BB_Run(61, 40, 300));
    Open(dir.Write("src.ens", source));
    const std::string out = dir.Path("out.ens");
    ASSERT_EQ(Save_Ensemble_Range(app, out, 95, 99), Outcome_Kind::k_ok);
    EXPECT_EQ(Read_Bytes(out), Slice(source, 74 * 300, 5 * 300));
}

TEST_F(Save_Range, AFullDiskNamesItsReasonAndLeavesNoFile) {
    Open(dir.Write("src.ens", BB_Run(1, 1000, 1000)));
    const std::string out = dir.Path("out.ens");
    const int code = In_Child_With_File_Limit(100000, [&] {
        return Save_Ensemble_Range(app, out, 1, 1000).message == "Cannot write " + out + ": File too large" ? 0 : 1;
    });
    if (code == k_cannot_set_up) GTEST_SKIP() << "no file-size limit";
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(Save_Range, RefusesToOverwriteAndIgnoresTheSource) {
    const Bytes source = BB_Run(1, 20, 300);
    const std::string name = dir.Write("src.ens", source);
    const std::string taken = dir.Write("taken.ens", Bytes{1, 2, 3});
    const std::string empty = dir.Write("empty.ens", Bytes{});

    EXPECT_EQ(Save_Ensemble_Range(app, dir.Path("x.ens"), 1, 2), Outcome_Kind::k_nothing_loaded);  // nothing loaded yet
    Open(name);
    EXPECT_EQ(Save_Ensemble_Range(app, taken, 1, 5), Outcome_Kind::k_overwrite_refused);
    EXPECT_EQ(Read_Bytes(taken), (Bytes{1, 2, 3}));
    EXPECT_EQ(Save_Ensemble_Range(app, name, 1, 5), Outcome_Kind::k_target_is_input);
    EXPECT_EQ(Read_Bytes(name), source);
    EXPECT_EQ(Save_Ensemble_Range(app, "", 1, 5), Outcome_Kind::k_nothing_loaded);

    ASSERT_EQ(Save_Ensemble_Range(app, empty, 3, 4), Outcome_Kind::k_ok);
    EXPECT_EQ(Read_Bytes(empty), Slice(source, 600, 600));
}

}  // namespace
}  // namespace vantrel::test
