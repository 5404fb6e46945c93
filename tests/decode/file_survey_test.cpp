#include <gtest/gtest.h>

#include "decode/file_survey.h"
#include "support/test_files.h"
#include "nb_encoder.h"

namespace vantrel {
namespace {

using test::Bytes;
using test::Temp_Folder;

// Ensembles numbered first..last, 1000 bytes each; the second of the clock counts the ensemble.
Bytes BB_Run(std::uint32_t first, std::uint32_t last, std::uint16_t sys_config = 0x5243) {
    Bytes out;
    for (std::uint32_t n = first; n <= last; ++n) {
        test::BB_Fields f;
        f.ens_number = n;
        f.clock[5] = static_cast<std::uint8_t>(n % 60);
        f.sys_config = sys_config;
        f.record_bytes = 1000;
        test::Append(out, test::Build_BB_Ensemble(f));
    }
    return out;
}

Bytes NB_Run(std::uint16_t first, std::uint16_t last, std::uint8_t config = 0x80) {
    Bytes out;
    for (std::uint16_t n = first; n <= last; ++n) {
        synth::NB_Ensemble_Values v;
        v.ens_number = n;
        v.config = config;
        v.month = 6, v.day = 15, v.hour = 12, v.minute = static_cast<std::uint8_t>(n % 60), v.second = 30;
        v.num_bins = 3;
        v.velocity.assign(3, {1, 2, 3, 4});
        v.correlation.assign(3, {1, 2, 3, 4});
        v.echo.assign(3, {1, 2, 3, 4});
        v.percent_good.assign(3, {100, 100, 100, 100});
        test::Append(out, synth::Encode_NB_Ensemble(v));
    }
    return out;
}

struct Survey {
    App_State app;
    bool ok = false;
    explicit Survey(const std::string& path, bool multi = false) {
        app.menus.MultiFile = multi;
        app.file_set = Test_For_File_Set(path, app.menus);
        ok = Show_File_Stats(app, path, No_Progress());
    }
};

const std::string k_bb_setup =
    "BB/KX Ensemble Length 1000 bytes\r\n"
    "System Frequency: 614.4 kHz\r\n"
    "1st Bin -2.50 m, Bin Size 1.00 m\r\n"
    "No. Bins 4, Pings/Ens 10, Time/Ping 00:01.50\r\n";

TEST(FileSurvey, CleanBroadbandFile) {
    Temp_Folder dir;
    const std::string path = dir.Write("clean.ens", BB_Run(1, 100));
    const Survey s(path);
    ASSERT_TRUE(s.ok) << s.app.Info_Text;
    EXPECT_EQ(s.app.Info_Text, path + "\r\nFile Size 100,000 bytes\r\n" + k_bb_setup +
                                   "First Ensemble 00000001 98/01/02 03:04:01.06\r\n"
                                   "Last  Ensemble 00000100 98/01/02 03:04:40.06\r\n");
    EXPECT_EQ(s.app.ds.File_First_Ens, 1);
    EXPECT_EQ(s.app.ds.File_Last_Ens, 100);
    EXPECT_EQ(s.app.ds.File_Ens_Count, 100);
    EXPECT_EQ(s.app.file_set.File_Size, 100000);
    EXPECT_EQ(s.app.ds.Sub_Ens_Number(0), 1);
    EXPECT_EQ(s.app.ds.Sub_Ens_Number(1), 100);
}

TEST(FileSurvey, MissingEnsemblesAreCounted) {
    Temp_Folder dir;
    Bytes data = BB_Run(1, 39);
    test::Append(data, BB_Run(45, 100));
    const Survey s(dir.Write("gap.ens", data));
    ASSERT_TRUE(s.ok);
    EXPECT_NE(s.app.Info_Text.find("Last  Ensemble 00000100 98/01/02 03:04:40.06\r\n Missing Ensembles 5\r\n"),
              std::string::npos)
        << s.app.Info_Text;
    EXPECT_EQ(s.app.ds.File_Ens_Count, 100);
}

TEST(FileSurvey, ExtraDataInTheMiddleMovesTheLastEnsemble) {
    Temp_Folder dir;
    Bytes data = BB_Run(1, 50);
    data.insert(data.end(), 2600, 0xAA);
    test::Append(data, BB_Run(51, 100));
    const Survey s(dir.Write("extra.ens", data));
    ASSERT_TRUE(s.ok);
    EXPECT_NE(s.app.Info_Text.find("00000100 98/01/02 03:04:40.06\r\n Extra Data in File\r\n"), std::string::npos)
        << s.app.Info_Text;
    EXPECT_EQ(s.app.ds.Last_Ens, 103) << "102.6 records' worth of bytes";
    EXPECT_EQ(s.app.ds.File_Ens_Count, 103);
}

TEST(FileSurvey, TrailingGarbageIsSteppedBackOver) {
    Temp_Folder dir;
    Bytes data = BB_Run(1, 100);
    data.insert(data.end(), 2500, 0xAA);
    const Survey s(dir.Write("tail.ens", data));
    ASSERT_TRUE(s.ok) << s.app.Info_Text;
    EXPECT_NE(s.app.Info_Text.find("Last  Ensemble 00000100 98/01/02 03:04:40.06\r\n Extra Data in File\r\n"),
              std::string::npos)
        << s.app.Info_Text;
    EXPECT_EQ(s.app.ds.Sub_Ens_Number(1), 100);
    EXPECT_EQ(s.app.ds.Last_Ens, 102) << "102.5 rounds to even";
}

TEST(FileSurvey, TrailingNVRAMRecord) {
    Temp_Folder dir;
    Bytes data = BB_Run(1, 100);
    test::Append(data, test::Build_Two_Type_Record(8100));
    const Survey s(dir.Write("nvram.ens", data));
    ASSERT_TRUE(s.ok) << s.app.Info_Text;
    EXPECT_NE(s.app.Info_Text.find("Last  Ensemble 00000100 98/01/02 03:04:40.06\r\n NVRAM Data in File\r\n"),
              std::string::npos)
        << s.app.Info_Text;
    EXPECT_EQ(s.app.ds.Last_Ens, 100) << "NVRAM data does not move the last ensemble";
}

TEST(FileSurvey, NarrowbandFileLeavesYearOut) {
    Temp_Folder dir;
    const std::string path = dir.Write("nb.dat", NB_Run(1, 10));
    const Survey s(path);
    ASSERT_TRUE(s.ok) << s.app.Info_Text;
    EXPECT_EQ(s.app.Info_Text, path + "\r\nFile Size 1,330 bytes\r\n"
                                      "NB Ensemble Length 133 bytes\r\n"
                                      "System Frequency: 76.8 kHz\r\n"
                                      "1st Bin 5.00 m, Bin Size 4.00 m\r\n"
                                      "No. Bins 3, Pings/Ens 1, Time/Ping 00:01.00\r\n"
                                      "First Ensemble 00000001 06/15 12:01:30.00\r\n"
                                      "Last  Ensemble 00000010 06/15 12:10:30.00\r\n");
}

TEST(FileSurvey, FrequencyCodeFiveDependsOnStructure) {
    Temp_Folder dir;
    const Survey nb(dir.Write("nb5.dat", NB_Run(1, 3, 0xD0)));
    EXPECT_NE(nb.app.Info_Text.find("System Frequency: 115.0 kHz\r\n"), std::string::npos) << nb.app.Info_Text;
    const Survey bb(dir.Write("bb5.dat", BB_Run(1, 3, 0x5245)));
    EXPECT_NE(bb.app.Info_Text.find("System Frequency: 2457.6 kHz\r\n"), std::string::npos) << bb.app.Info_Text;
    const Survey unknown(dir.Write("bb7.dat", BB_Run(1, 3, 0x5247)));
    EXPECT_NE(unknown.app.Info_Text.find("System Frequency: Unknown\r\n"), std::string::npos);
}

TEST(FileSurvey, FlowMeterFileShowsTwoBinSizes) {
    Temp_Folder dir;
    Bytes data;
    for (std::uint32_t n = 1; n <= 3; ++n) {
        test::BB_Fields f;
        f.ens_number = n;
        f.fw_version = 21;
        test::Append(data, test::Build_BB_Ensemble(f));
    }
    const Survey s(dir.Write("flow.ens", data));
    ASSERT_TRUE(s.ok) << s.app.Info_Text;
    // Sizes projected by cos 20 cos 10 and cos 30 cos 20; the first bin by the second.
    EXPECT_NE(s.app.Info_Text.find("\r\nQTRM Ensemble Length "), std::string::npos) << s.app.Info_Text;
    EXPECT_NE(s.app.Info_Text.find("1st Bin -2.03 m, Bin Sizes 0.925, 0.814 m\r\n"), std::string::npos)
        << s.app.Info_Text;
}

TEST(FileSurvey, SingleEnsembleFile) {
    Temp_Folder dir;
    const Survey s(dir.Write("one.ens", BB_Run(7, 7)));
    ASSERT_TRUE(s.ok) << s.app.Info_Text;
    EXPECT_EQ(s.app.ds.File_First_Ens, 7);
    EXPECT_EQ(s.app.ds.File_Last_Ens, 7);
}

TEST(FileSurvey, NotEnoughValidEnsembles) {
    Temp_Folder dir;
    const std::string path = dir.Write("junk.bin", Bytes(5000, 0x55));
    const Survey s(path);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.app.Info_Text, path + "\r\nFile Size 5,000 bytes\r\nNot enough VALID ensembles\r\n");
}

TEST(FileSurvey, NumberedSetIsSurveyedAsOneStream) {
    Temp_Folder dir;
    const std::string first = dir.Write("run.000", BB_Run(1, 30));
    dir.Write("run.001", BB_Run(31, 60));
    const std::string last = dir.Write("run.002", BB_Run(61, 75));
    const Survey s(first, true);
    ASSERT_TRUE(s.ok) << s.app.Info_Text;
    EXPECT_EQ(s.app.Info_Text.substr(0, first.size() + 4 + last.size() + 2), first + " to " + last + "\r\n");
    EXPECT_NE(s.app.Info_Text.find("File Size 75,000 bytes\r\n"), std::string::npos) << s.app.Info_Text;
    EXPECT_EQ(s.app.ds.File_Last_Ens, 75);
    EXPECT_EQ(s.app.Info_Text.find("Missing"), std::string::npos);

    const Survey single(first, false);
    EXPECT_EQ(single.app.ds.File_Last_Ens, 30);
}

}  // namespace
}  // namespace vantrel
