// The survey's report and the details scan's statistics on synthetic files and file
// sets: the text exactly, the counters as the manifest says the file was damaged.
#include <gtest/gtest.h>

#include "app_state.h"
#include "decode/file_details.h"
#include "decode/file_survey.h"
#include "support/expect_fields.h"
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

TEST(Synth_Survey, NarrowbandLeavesTheYearOutFlowMeterShowsTwoBinSizesAndDamageIsNamed) {
    Temp_Folder tmp;
    Write_Synth_File(tmp.Path("nb.ens"),
                     Resolved({.ensembles = 100, .bins = 20, .bin_size = 4, .start = {2024, 12, 31, 23, 59, 0},
                               .structure = Synth_Structure::Narrowband, .nb_frequency = 5}));
    // 79 bytes of envelope, leader and checksum, 18 a cell; the first cell's middle is half a
    // cell beyond transmit length 5 m: (5 + 4) / 2 = 4.5 m.
    EXPECT_EQ(Survey(tmp, "nb.ens", false),
              "nb.ens\r\nFile Size 43,900 bytes\r\nNB Ensemble Length 439 bytes\r\n"
              "System Frequency: 115.0 kHz\r\n"
              "1st Bin -4.50 m, Bin Size 4.00 m\r\n"
              "No. Bins 20, Pings/Ens 10, Time/Ping 00:00.10\r\n"
              "First Ensemble 00000001 12/31 23:59:00.00\r\n"
              "Last  Ensemble 00000100 01/01 00:00:39.00\r\n");

    Write_Synth_File(tmp.Path("flow.ens"), Resolved({.ensembles = 100, .flow_meter = true}));
    const std::string text = Survey(tmp, "flow.ens", false);
    EXPECT_EQ(text.substr(0, text.find("System")),
              "flow.ens\r\nFile Size 79,400 bytes\r\nQTRM Ensemble Length 794 bytes\r\n");
    EXPECT_NE(text.find("\r\n1st Bin -1.22 m, Bin Sizes 0.925, 0.814 m\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nLast  Ensemble 00000100 24/05/01 12:01:39.00\r\n"), std::string::npos) << text;

    // 14 of 100 dropped: 86 x 752 bytes where the numbers say 100.
    Write_Synth_File(tmp.Path("drop.ens"), Resolved({.ensembles = 100, .drop_every = 7}));
    EXPECT_EQ(Survey(tmp, "drop.ens", false),
              "drop.ens\r\nFile Size 64,672 bytes\r\nBB/KX Ensemble Length 752 bytes\r\n" + k_bb_setup +
                  "Last  Ensemble 00000100 24/05/01 12:01:39.00\r\n Missing Ensembles 14\r\n");

    // Long two-type records, the last one at the very end, make the step back meet one.
    Write_Synth_File(tmp.Path("long.ens"), Resolved({.ensembles = 80, .long_records_every = 40}));
    EXPECT_EQ(Survey(tmp, "long.ens", false),
              "long.ens\r\nFile Size 76,680 bytes\r\nBB/KX Ensemble Length 752 bytes\r\n" + k_bb_setup +
                  "Last  Ensemble 00000080 24/05/01 12:01:19.00\r\n NVRAM Data in File\r\n");
}

// Damage kinds are spaced so that none hides another: a dropped or spoilt ensemble is
// one missing number, a repeat one repeat, the reset one reset; long records carry the
// memory record's byte count of 8258, which the scan passes over.
TEST(Synth_Details, StatisticsAreWhatTheManifestSaysWasDone) {
    for (const Synth_Structure structure : {Synth_Structure::Broadband, Synth_Structure::Narrowband}) {
        Temp_Folder tmp;
        const Synth_Options opt = Resolved({.ensembles = 101, .first_number = 300, .structure = structure, .garbage = 400,
                                            .garbage_every = 10, .bad_checksum_every = 13, .drop_every = 7,
                                            .truncate_last = true, .long_records_every = 17, .repeat_every = 5,
                                            .reset_at = 60});
        const Synth_Manifest m = Write_Synth_File(tmp.Path("d.ens"), opt);
        const Synth_Counts c = Count_Manifest(m);
        App_State app;
        const File_Details_Result r = Show_File_Details(tmp.Path("d.ens"), app.dec, Decode_Options_Of(app.settings, false),
                                                        nullptr, No_Progress());
        ASSERT_TRUE(r.opened);
        // Memory records (byte count 8258) are passed over, not wrong sizes; the last ensemble
        // before the cut one follows its predecessor.
        vantrel::test::Expect_Fields({{"first", r.stats.First, opt.first_number}, {"missing", r.stats.Missing, c.dropped + c.bad_checksum},
                             {"repeats", r.stats.Repeats, c.repeats}, {"resets", r.stats.Resets, 1}, {"wrong size", r.stats.Wrong_Size, 0},
                             {"last", r.stats.Last, Synth_Ensemble_Number(opt, opt.ensembles - 2)}});
    }
}

}  // namespace
}  // namespace vantrel::synth::test
