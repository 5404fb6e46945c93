#include <gtest/gtest.h>

#include "app_state.h"
#include "decode/file_survey.h"
#include "support/temp_folder.h"
#include "support/bb_builder.h"

namespace vantrel::test {
namespace {

struct Survey {
    App_State app;
    bool ok = false;
    explicit Survey(const std::string& path) {
        app.file_set = Test_For_File_Set(path, app.menus.MultiFile);
        ok = Show_File_Stats(app, path, No_Progress());
    }
};

TEST(File_Survey, ExtraDataMovesTheLastEnsembleAndTrailingGarbageIsSteppedBackOver) {
    Temp_Folder dir;
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

TEST(File_Survey, AMemoryRecordFirstIsNotTheFirstEnsemble) {
    Temp_Folder dir;
    Bytes data = Build_Two_Type_Record(8258);
    Append(data, BB_Run(1, 20));
    const Survey s(dir.Write("memory_first.ens", data));
    ASSERT_TRUE(s.ok) << s.app.Info_Text;
    EXPECT_EQ((std::pair{s.app.ds.File_First_Ens, s.app.ds.File_Last_Ens}), (std::pair{1, 20}));
    EXPECT_NE(s.app.Info_Text.find("First Ensemble 00000001 98/01/02"), std::string::npos) << s.app.Info_Text;
    EXPECT_NE(s.app.Info_Text.find(" NVRAM Data in File"), std::string::npos) << s.app.Info_Text;
}

TEST(File_Survey, SingleEnsembleFile) {
    Temp_Folder dir;
    const Survey s(dir.Write("one.ens", BB_Run(7, 1)));
    ASSERT_TRUE(s.ok) << s.app.Info_Text;
    EXPECT_EQ((std::pair{s.app.ds.File_First_Ens, s.app.ds.File_Last_Ens}), (std::pair{7, 7}));
}

TEST(File_Survey, NotEnoughValidEnsembles) {
    Temp_Folder dir;
    const std::string path = dir.Write("junk.bin", Bytes(5000, 0x55));
    const Survey s(path);
    EXPECT_FALSE(s.ok);
    EXPECT_EQ(s.app.Info_Text, path + "\r\nFile Size 5,000 bytes\r\nNot enough VALID ensembles\r\n");
}

}  // namespace
}  // namespace vantrel::test
