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
    EXPECT_EQ(extra.app.ds.Last_Ens, 103) << "102.6 records' worth of bytes";
    EXPECT_EQ(extra.app.ds.File_Ens_Count, 103);

    data = BB_Run(1, 100);
    data.insert(data.end(), 2500, 0xAA);
    const Survey s(dir.Write("tail.ens", data));
    ASSERT_TRUE(s.ok) << s.app.Info_Text;
    EXPECT_NE(s.app.Info_Text.find("Last  Ensemble 00000100 98/01/02 03:04:40.06\r\n Extra Data in File\r\n"),
              std::string::npos)
        << s.app.Info_Text;
    EXPECT_EQ(s.app.ds.Sub_Ens_Number(1), 100);
    EXPECT_EQ(s.app.ds.Last_Ens, 102) << "102.5 rounds to even";
}

TEST(File_Survey, SingleEnsembleFile) {
    Temp_Folder dir;
    const Survey s(dir.Write("one.ens", BB_Run(7, 1)));
    ASSERT_TRUE(s.ok) << s.app.Info_Text;
    EXPECT_EQ(s.app.ds.File_First_Ens, 7);
    EXPECT_EQ(s.app.ds.File_Last_Ens, 7);
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
