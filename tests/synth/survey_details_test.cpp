// The survey's report and the details scan's statistics on synthetic files and file
// sets: the text exactly, the counters as the manifest says the file was damaged.
#include <gtest/gtest.h>

#include "app_state.h"
#include "decode/file_details.h"
#include "decode/file_survey.h"
#include "support/temp_folder.h"
#include "synth_walk.h"

namespace vantrel::synth::test {
namespace {

using vantrel::test::Temp_Folder;

// The survey's text with the folder taken out of the file names.
std::string Survey(const Temp_Folder& tmp, const std::string& name, bool multifile, bool expect_ok = true) {
    App_State app;
    app.menus.MultiFile = multifile;
    app.file_set = Test_For_File_Set(tmp.Path(name), app.menus.MultiFile);
    EXPECT_EQ(Show_File_Stats(app, tmp.Path(name), No_Progress()), expect_ok);
    std::string text = app.Info_Text;
    const std::string folder = tmp.Path("");
    for (std::size_t at; (at = text.find(folder)) != std::string::npos;) text.erase(at, folder.size());
    return text;
}

// The lines every 30-cell broadband file of the default scenario shares.
const std::string k_bb_setup = "System Frequency: 307.2 kHz\r\n"
                               "1st Bin -1.50 m, Bin Size 1.00 m\r\n"
                               "No. Bins 30, Pings/Ens 10, Time/Ping 00:00.10\r\n"
                               "First Ensemble 00000001 24/05/01 12:00:00.00\r\n";

struct Details_Case {
    const char* name;
    Synth_Options opt;
};

void PrintTo(const Details_Case& c, std::ostream* os) { *os << c.name; }

class Synth_Details : public ::testing::TestWithParam<Details_Case> {};

// Damage kinds are spaced so that none hides another: a dropped or spoilt ensemble is
// one missing number, a repeat one repeat, the reset one reset; long records carry the
// memory record's byte count of 8258, which the scan passes over.
TEST_P(Synth_Details, StatisticsAreWhatTheManifestSaysWasDone) {
    Temp_Folder tmp;
    const Synth_Options opt = Resolved(GetParam().opt);
    const Synth_Manifest m = Write_Synth_File(tmp.Path("d.ens"), opt);
    const Synth_Counts c = Count_Manifest(m);

    App_State app;
    std::int64_t changes = 0;
    const File_Details_Result r = Show_File_Details(
        tmp.Path("d.ens"), app.dec, Decode_Options_Of(app.settings, app.menus.Flip_Checked),
        [&changes](Ens_Statistic, const Ens_Statistics&) { ++changes; }, No_Progress());
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(r.stats.First, opt.first_number);
    EXPECT_EQ(r.stats.Missing, c.dropped + c.bad_checksum);
    EXPECT_EQ(r.stats.Repeats, c.repeats);
    EXPECT_EQ(r.stats.Resets, opt.reset_at > 0 ? 1 : 0);
    EXPECT_EQ(r.stats.Wrong_Size, 0);  // memory records (byte count 8258) are passed over
    // The last ensemble before the cut one follows its predecessor in every case.
    const std::int64_t last_whole = opt.ensembles - (opt.truncate_last ? 2 : 1);
    EXPECT_EQ(r.stats.Last, Synth_Ensemble_Number(opt, last_whole));
    EXPECT_GT(changes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Synth, Synth_Details,
    ::testing::Values(
        Details_Case{"plain", {.ensembles = 40}},
        Details_Case{"drops_and_repeats", {.ensembles = 50, .drop_every = 9, .repeat_every = 4}},
        Details_Case{"every_kind",
                     {.ensembles = 101, .first_number = 1, .garbage = 400, .garbage_every = 10,
                      .bad_checksum_every = 13, .drop_every = 7, .truncate_last = true, .long_records_every = 17,
                      .repeat_every = 5, .reset_at = 60}},
        Details_Case{"every_kind_narrowband",
                     {.ensembles = 101, .first_number = 300, .structure = Synth_Structure::Narrowband, .garbage = 400,
                      .garbage_every = 10, .bad_checksum_every = 13, .drop_every = 7, .truncate_last = true,
                      .long_records_every = 17, .repeat_every = 5, .reset_at = 60}}),
    [](const ::testing::TestParamInfo<Details_Case>& p) { return p.param.name; });

}  // namespace
}  // namespace vantrel::synth::test
