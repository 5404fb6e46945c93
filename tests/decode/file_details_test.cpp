#include <gtest/gtest.h>

#include <vector>

#include "app_state.h"
#include "decode/file_details.h"
#include "decode/file_survey.h"
#include "support/temp_folder.h"
#include "support/bb_builder.h"
#include "support/cli_run.h"
#include "support/expect_fields.h"
#include "nb_encoder.h"

namespace vantrel::test {
namespace {

// The reports expected, line for line, as files (with their CR LF line ends).
const std::filesystem::path k_data = std::filesystem::path(VANTREL_DECODE_TEST_DIR) / "data";

Bytes BB_Numbered(const std::vector<std::uint32_t>& numbers) {
    Bytes out;
    for (std::uint32_t n : numbers) Append(out, Build_BB_Ensemble({.ens_number = n, .record_bytes = 1000}));
    return out;
}

struct Details {
    App_State main;
    File_Details_Result r;
    std::vector<std::pair<Ens_Statistic, Ens_Statistics>> changes;
    explicit Details(const std::string& path) {
        r = Show_File_Details(path, main.dec, Decode_Options_Of(main.settings, main.menus.Flip_Checked),
                              [this](Ens_Statistic which, const Ens_Statistics& s) { changes.push_back({which, s}); },
                              No_Progress());
    }
    bool Has(const std::string& line) const { return r.report.find(line + "\r\n") != std::string::npos; }
};

// An ensemble whose fixed leader sets every reported field to a value of its own.
Bytes Full_Setup_Ensemble(std::uint16_t number) {
    Bytes fl = Fixed_Leader({.version = 16, .revision = 105, .sys_config = 0x5243, .bins = 4, .pings = 300, .bin_cm = 150, .mode = 1,
                             .time_per_ping = {0, 1, 50}, .coord = 0x1F, .bin1_cm = 338, .xmit_cm = 52, .lag_cm = 12});
    const auto at = [&](std::size_t offset) -> std::uint8_t& { return fl[offset]; };
    const auto put16 = [&](std::size_t offset, unsigned v) { Put_U16(fl, offset, v); };
    at(6) = 1, at(7) = 3, at(8) = 4, put16(14, 176), at(17) = 64, at(18) = 5, at(19) = 30, put16(20, 2000);
    put16(26, static_cast<std::uint16_t>(-4500)), put16(28, 150), at(30) = 0x7D, at(31) = 0x7F;
    at(36) = 1, at(37) = 5, at(38) = 50, at(39) = 2, put16(50, 1), at(52) = 255;
    for (std::size_t i = 0; i < 8; ++i) at(42 + i) = static_cast<std::uint8_t>(0xA1 + 0x11 * i);
    Bytes vl = Block(0x0080, 65);
    Put_U16(vl, 2, number);
    Bytes bt = Block(0x0600, 85);
    bt[64] = 2;  // below 4: Calimbro positions
    return Ensemble({fl, vl, bt});
}

struct File_Details : ::testing::Test {
    Temp_Folder dir;
};

TEST_F(File_Details, BroadbandSetupLines) {
    Bytes data;
    for (std::uint16_t n = 1; n <= 3; ++n) Append(data, Full_Setup_Ensemble(n));
    const std::string path = dir.Write("a.ens", data);
    App_State main;
    main.dec.BT_Pings = 1, main.dec.BT_Reacquire_Delay = 2, main.dec.BT_Corr_Min = 220, main.dec.BT_Amp_Min = 30;
    main.dec.BT_PG_Min = 40, main.dec.BT_Mode = 5, main.dec.BT_Err_Max = 1000, main.dec.BT_Max_Depth = 2000;
    const File_Details_Result r = Show_File_Details(path, main.dec, Decode_Options_Of(main.settings, main.menus.Flip_Checked), nullptr, No_Progress());
    ASSERT_TRUE(r.opened);
    EXPECT_EQ(r.report, Read_File_Text(k_data / "bb_details.txt"));
    EXPECT_EQ(main.dec.BT_Max_Depth, 2000);
}

TEST_F(File_Details, NarrowbandSetupLines) {
    Bytes data;
    for (std::uint16_t n = 1; n <= 2; ++n) {
        synth::NB_Ensemble_Values v;
        v.ens_number = n;
        v.config = 0xB9;  // 614.4 kHz, concave, up, beam, high range
        v.snr_threshold = 125, v.pg_threshold = 25, v.pings_per_ens = 300, v.num_bins = 3;
        v.bin_length_code = 3, v.xmit_length = 10, v.blank = 2, v.delay = 1;
        v.ping_minutes = 1, v.ping_seconds = 2, v.ping_hundredths = 34;
        v.month = 7, v.day = 4;
        Append(data, synth::Encode_NB_Ensemble(v));
    }
    const Details d(dir.Write("n.dat", data));
    EXPECT_EQ(d.r.report, Read_File_Text(k_data / "nb_details.txt"));
    EXPECT_EQ(d.r.stats.Last, 2);
}

TEST_F(File_Details, StatisticsCountMissingRepeatsResetsAndWrongSizes) {
    const Details d(dir.Write("seq.ens", BB_Numbered({1, 2, 4, 4, 2, 3})));
    const Ens_Statistics& s = d.r.stats;
    Expect_Fields({{"first", s.First, 1}, {"last", s.Last, 3}, {"missing", s.Missing, 1}, {"repeats", s.Repeats, 1},
                   {"resets", s.Resets, 1}, {"wrong size", s.Wrong_Size, 0}});
    // Each change is reported as it happens, in file order.
    const std::vector<Ens_Statistic> order = {Ens_Statistic::First,   Ens_Statistic::Last,   Ens_Statistic::Last,
                                              Ens_Statistic::Missing, Ens_Statistic::Repeats, Ens_Statistic::Resets,
                                              Ens_Statistic::Last};
    ASSERT_EQ(d.changes.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(d.changes[i].first, order[i]) << i;
    Expect_Fields({{"third change's last", d.changes[2].second.Last, 2}, {"fourth change's missing", d.changes[3].second.Missing, 1}});
    EXPECT_TRUE(d.Has("Extra Data in File 3,000 bytes")) << "six records, three by the numbers";
    // Missing ensembles show as negative extra data.
    const Details m(dir.Write("m.ens", BB_Numbered({1, 2, 4})));
    EXPECT_TRUE(m.Has("Extra Data in File -1,000 bytes")) << m.r.report;

    // A long two-type record is not of the wrong size; a short ensemble is.
    Bytes data = BB_Numbered({1, 2});
    Append(data, Build_Two_Type_Record(8260));  // 8258 bytes before the checksum
    Append(data, Build_BB_Ensemble({.ens_number = 2, .record_bytes = 600}));
    Append(data, BB_Numbered({3}));
    const Details w(dir.Write("w.ens", data));
    Expect_Fields({{"wrong size", w.r.stats.Wrong_Size, 1}, {"missing", w.r.stats.Missing, 0}, {"last", w.r.stats.Last, 3}});

    // A memory record first is not the first ensemble, nor a reset before it.
    data = Build_Two_Type_Record(8260);
    Append(data, BB_Numbered({5, 6, 7}));
    const Details f(dir.Write("f.ens", data));
    EXPECT_TRUE(f.Has("Ensemble Length 1000 bytes") && f.Has("NVRAM Data Set  TRUE")) << f.r.report;
    Expect_Fields({{"first", f.r.stats.First, 5}, {"resets", f.r.stats.Resets, 0}, {"wrong size", f.r.stats.Wrong_Size, 0}});
}

TEST_F(File_Details, UnknownAndUnreadableFiles) {
    const Details junk(dir.Write("junk.bin", Bytes(300, 0x41)));
    EXPECT_EQ(junk.r.report, "File Size 300 bytes\r\nData Structure Unknown \r\n");
    EXPECT_EQ(Details(dir.Write("empty.ens", {})).r.report, "File Size 0 bytes\r\nData Structure Unknown \r\n");
    Expect_Fields({{"opened", junk.r.opened, true}, {"first", junk.r.stats.First, 0}, {"no changes", junk.changes.empty(), true},
                   {"a missing file opened", Details(dir.Path("no-such-file")).r.opened, false}});
}

struct Survey {
    App_State app;
    bool ok = false;
    explicit Survey(const std::string& path) {
        app.file_set = Test_For_File_Set(path, app.menus.MultiFile);
        ok = Show_File_Stats(app, path, No_Progress());
    }
};

using File_Survey = File_Details;

TEST_F(File_Survey, ExtraDataMovesTheLastEnsembleAndTrailingGarbageIsSteppedBackOver) {
    Bytes data = BB_Run(1, 50);
    data.insert(data.end(), 2600, 0xAA);
    Append(data, BB_Run(51, 50));
    const Survey extra(dir.Write("extra.ens", data));
    ASSERT_TRUE(extra.ok);
    // 102.6 records' worth of bytes.
    EXPECT_EQ((std::pair{extra.app.ds.Last_Ens, extra.app.ds.File_Ens_Count}), (std::pair{103, 103}));

    data = BB_Run(1, 100);
    data.insert(data.end(), 2500, 0xAA);
    const Survey s(dir.Write("tail.ens", data));
    ASSERT_TRUE(s.ok) << s.app.Info_Text;
    EXPECT_NE(s.app.Info_Text.find("Last  Ensemble 00000100 98/01/02 03:04:40.06\r\n Extra Data in File\r\n"),
              std::string::npos)
        << s.app.Info_Text;
    // 102.5 rounds to even.
    EXPECT_EQ((std::pair{s.app.ds.Sub_Ens_Number(1), s.app.ds.Last_Ens}), (std::pair{100, 102}));
}

TEST_F(File_Survey, AMemoryRecordFirstIsNotTheFirstEnsemble) {
    Bytes data = Build_Two_Type_Record(8258);
    Append(data, BB_Run(1, 20));
    const Survey s(dir.Write("memory_first.ens", data));
    ASSERT_TRUE(s.ok) << s.app.Info_Text;
    EXPECT_EQ((std::pair{s.app.ds.File_First_Ens, s.app.ds.File_Last_Ens}), (std::pair{1, 20}));
    EXPECT_NE(s.app.Info_Text.find("First Ensemble 00000001 98/01/02"), std::string::npos) << s.app.Info_Text;
    EXPECT_NE(s.app.Info_Text.find(" NVRAM Data in File"), std::string::npos) << s.app.Info_Text;
}

TEST_F(File_Survey, ASingleEnsembleIsSurveyedAndAFileWithoutAnyIsNot) {
    const Survey one(dir.Write("one.ens", BB_Run(7, 1)));
    ASSERT_TRUE(one.ok) << one.app.Info_Text;
    EXPECT_EQ((std::pair{one.app.ds.File_First_Ens, one.app.ds.File_Last_Ens}), (std::pair{7, 7}));

    const std::string path = dir.Write("junk.bin", Bytes(5000, 0x55));
    const Survey s(path);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.app.Info_Text, path + "\r\nFile Size 5,000 bytes\r\nNot enough VALID ensembles\r\n");
}

}  // namespace
}  // namespace vantrel::test
