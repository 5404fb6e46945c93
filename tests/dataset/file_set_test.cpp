#include <gtest/gtest.h>

#include "app_state.h"
#include "dataset/file_set.h"
#include "support/temp_folder.h"
#include "support/bb_builder.h"

namespace vantrel {
namespace {

using test::Bytes;
using test::Temp_Folder;

constexpr bool Multi_On() { return true; }

TEST(Numbered_Set, RunsToTheLastConsecutiveMember) {
    Temp_Folder dir;
    const std::string first = dir.Write("data.000", Bytes(10));
    dir.Write("data.001", Bytes(20));
    dir.Write("data.002", Bytes(30));
    dir.Write("data.004", Bytes(40));  // after a gap: not part of the set
    EXPECT_EQ(Test_For_Multi_File(first, Multi_On()), 2);

    const File_Set_State set = Test_For_File_Set(first, Multi_On());
    EXPECT_EQ(set.Set_First_Index, 0);
    EXPECT_EQ(set.Set_Last_Index, 2);
    const auto members = File_Set_Members(first, set);
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[1].name, dir.Path("data.001"));
    EXPECT_EQ(members[2].name, dir.Path("data.002"));
    EXPECT_EQ(members[2].length, 30);
    EXPECT_EQ(File_Set_Size(members), 60);

    // Opened in the middle, the set starts there.
    const auto tail = File_Set_Members(dir.Path("data.001"), Test_For_File_Set(dir.Path("data.001"), Multi_On()));
    ASSERT_EQ(tail.size(), 2u);
    EXPECT_EQ(File_Set_Size(tail), 50);
}

TEST(Numbered_Set, NamesThatAreNotSets) {
    Temp_Folder dir;
    dir.Write("data.998", Bytes(1));
    const std::string last = dir.Write("data.999", Bytes(1));
    EXPECT_EQ(Test_For_Multi_File(last, Multi_On()), 0) << "999 is not below 999";
    EXPECT_EQ(Test_For_Multi_File(dir.Path("data.998"), Multi_On()), 999);

    const std::string alone = dir.Write("solo.005", Bytes(7));
    EXPECT_EQ(Test_For_Multi_File(alone, Multi_On()), 0) << "no successor";
    const auto members = File_Set_Members(alone, Test_For_File_Set(alone, Multi_On()));
    ASSERT_EQ(members.size(), 1u);
    EXPECT_EQ(members[0].length, 7);

    const std::string no_ext = dir.Write("dataxyz", Bytes(1));
    EXPECT_EQ(Test_For_Multi_File(no_ext, Multi_On()), 0);
}

TEST(Numbered_Set, TextExtensionCountsAsZero) {
    Temp_Folder dir;
    const std::string txt = dir.Write("data.txt", Bytes(5));
    dir.Write("data.001", Bytes(6));
    dir.Write("data.002", Bytes(7));
    const File_Set_State set = Test_For_File_Set(txt, Multi_On());
    EXPECT_EQ(set.Multi_File_Count, 2);
    // The opened file leads the set although its own name is not numbered.
    const auto members = File_Set_Members(txt, set);
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0].name, txt);
    EXPECT_EQ(File_Set_Size(members), 18);
}

TEST(Acquisition_Set, UpperCaseExtensionsOnly) {
    Temp_Folder dir;
    const std::string first = dir.Write("RUN001_000003.ENR", Bytes(100));
    dir.Write("RUN001_000004.ENR", Bytes(200));
    EXPECT_EQ(Test_For_KORVAMultiFile(first, Multi_On()), 4);
    const File_Set_State set = Test_For_File_Set(first, Multi_On());
    const auto members = File_Set_Members(first, set);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[1].name, dir.Path("RUN001_000004.ENR"));
    EXPECT_EQ(File_Set_Size(members), 300);

    const std::string lower = dir.Write("run001_000003.enr", Bytes(1));
    dir.Write("run001_000004.enr", Bytes(1));
    EXPECT_EQ(Test_For_KORVAMultiFile(lower, Multi_On()), 0);

    for (const char* ext : {".ENS", ".ENX", ".STA", ".LTA"}) {
        const std::string a = dir.Write(std::string("B_000010") + ext, Bytes(1));
        dir.Write(std::string("B_000011") + ext, Bytes(1));
        EXPECT_EQ(Test_For_KORVAMultiFile(a, Multi_On()), 11) << ext;
    }
    const std::string other = dir.Write("B_000010.ENQ", Bytes(1));
    dir.Write("B_000011.ENQ", Bytes(1));
    EXPECT_EQ(Test_For_KORVAMultiFile(other, Multi_On()), 0);

    // A bare name no longer than the pattern, opened from its own folder.
    dir.Write("000007.ENS", Bytes(1));
    dir.Write("000008.ENS", Bytes(1));
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path(""));
    EXPECT_EQ(Test_For_KORVAMultiFile("000007.ENS", Multi_On()), 8);
    std::filesystem::current_path(cwd);
}

TEST(File_Sets, MultiFileUncheckedMeansSingleFiles) {
    Temp_Folder dir;
    const std::string numbered = dir.Write("data.000", Bytes(1));
    dir.Write("data.001", Bytes(1));
    const std::string acq = dir.Write("RUN_000001.ENS", Bytes(1));
    dir.Write("RUN_000002.ENS", Bytes(1));
    const bool off = false;
    EXPECT_EQ(Test_For_Multi_File(numbered, off), 0);
    EXPECT_EQ(Test_For_KORVAMultiFile(acq, off), 0);
    EXPECT_EQ(File_Set_Members(numbered, Test_For_File_Set(numbered, off)).size(), 1u);
}

TEST(File_Sets, VanishedMemberMakesTheSizeUnknown) {
    Temp_Folder dir;
    const std::string first = dir.Write("gone.000", Bytes(1));
    const std::string second = dir.Write("gone.001", Bytes(1));
    const File_Set_State set = Test_For_File_Set(first, Multi_On());
    std::filesystem::remove(second);
    EXPECT_EQ(File_Set_Size(File_Set_Members(first, set)), -1);
}

}  // namespace
}  // namespace vantrel
