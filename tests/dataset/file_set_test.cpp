#include <gtest/gtest.h>

#include "app_state.h"
#include "dataset/file_set.h"
#include "support/temp_folder.h"
#include "support/bb_builder.h"
#include "support/expect_fields.h"

namespace vantrel::test {
namespace {

constexpr bool k_multi_on = true;

// The members of the set opened at path, with the multi-file option on.
std::vector<File_Set_Member> Members(const std::string& path) {
    return File_Set_Members(path, Test_For_File_Set(path, k_multi_on));
}

// Writes two one-byte files and returns the first one's path.
std::string Pair(const Temp_Folder& dir, const std::string& first, const std::string& second) {
    dir.Write(second, Bytes(1));
    return dir.Write(first, Bytes(1));
}

TEST(Numbered_Set, RunsToTheLastConsecutiveMember) {
    Temp_Folder dir;
    const std::string first = dir.Write("data.000", Bytes(10));
    dir.Write("data.001", Bytes(20));
    dir.Write("data.002", Bytes(30));
    dir.Write("data.004", Bytes(40));  // after a gap: not part of the set
    EXPECT_EQ(Test_For_Multi_File(first, k_multi_on), 2);

    const File_Set_State set = Test_For_File_Set(first, k_multi_on);
    Expect_Fields({{"first", set.Set_First_Index, 0}, {"last", set.Set_Last_Index, 2}});
    const auto members = File_Set_Members(first, set);
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ((std::pair{members[1].name, members[2].name}), (std::pair{dir.Path("data.001"), dir.Path("data.002")}));
    Expect_Fields({{"length", members[2].length, 30}, {"size", File_Set_Size(members), 60}});

    // Opened in the middle, the set starts there.
    const auto tail = Members(dir.Path("data.001"));
    EXPECT_EQ((std::pair{tail.size(), File_Set_Size(tail)}), (std::pair{std::size_t{2}, std::int64_t{50}}));
}

TEST(Numbered_Set, NamesThatAreNotSetsAndATextExtensionCountingAsZero) {
    Temp_Folder dir;
    const std::string last = Pair(dir, "data.999", "data.998");
    EXPECT_EQ(Test_For_Multi_File(last, k_multi_on), 0) << "999 is not below 999";
    EXPECT_EQ(Test_For_Multi_File(dir.Path("data.998"), k_multi_on), 999);

    const std::string alone = dir.Write("solo.005", Bytes(7));
    EXPECT_EQ(Test_For_Multi_File(alone, k_multi_on), 0) << "no successor";
    const auto single = Members(alone);
    EXPECT_EQ((std::pair{single.size(), File_Set_Size(single)}), (std::pair{std::size_t{1}, std::int64_t{7}}));
    EXPECT_EQ(Test_For_Multi_File(dir.Write("dataxyz", Bytes(1)), k_multi_on), 0);

    const std::string txt = dir.Write("text.txt", Bytes(5));
    dir.Write("text.001", Bytes(6));
    dir.Write("text.002", Bytes(7));
    EXPECT_EQ(Test_For_File_Set(txt, k_multi_on).Multi_File_Count, 2);
    // The opened file leads the set although its own name is not numbered.
    const auto members = Members(txt);
    ASSERT_EQ(members.size(), 3u);
    EXPECT_EQ(members[0].name, txt);
    EXPECT_EQ(File_Set_Size(members), 18);
}

TEST(Acquisition_Set, UpperCaseExtensionsOnly) {
    Temp_Folder dir;
    const std::string first = dir.Write("RUN001_000003.ENR", Bytes(100));
    dir.Write("RUN001_000004.ENR", Bytes(200));
    EXPECT_EQ(Test_For_KORVAMultiFile(first, k_multi_on), 4);
    const auto members = Members(first);
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[1].name, dir.Path("RUN001_000004.ENR"));
    EXPECT_EQ(File_Set_Size(members), 300);

    EXPECT_EQ(Test_For_KORVAMultiFile(Pair(dir, "run001_000003.enr", "run001_000004.enr"), k_multi_on), 0);
    for (const std::string ext : {".ENS", ".ENX", ".STA", ".LTA"})
        EXPECT_EQ(Test_For_KORVAMultiFile(Pair(dir, "B_000010" + ext, "B_000011" + ext), k_multi_on), 11) << ext;
    EXPECT_EQ(Test_For_KORVAMultiFile(Pair(dir, "B_000010.ENQ", "B_000011.ENQ"), k_multi_on), 0);

    // A bare name no longer than the pattern, opened from its own folder.
    Pair(dir, "000007.ENS", "000008.ENS");
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path(""));
    EXPECT_EQ(Test_For_KORVAMultiFile("000007.ENS", k_multi_on), 8);
    std::filesystem::current_path(cwd);
}

TEST(File_Sets, MultiFileUncheckedMeansSingleFilesAndAVanishedMemberAnUnknownSize) {
    Temp_Folder dir;
    const std::string numbered = Pair(dir, "data.000", "data.001");
    const bool off = false;
    Expect_Fields({{"numbered", Test_For_Multi_File(numbered, off), 0},
                   {"acquisition", Test_For_KORVAMultiFile(Pair(dir, "RUN_000001.ENS", "RUN_000002.ENS"), off), 0}});
    EXPECT_EQ(File_Set_Members(numbered, Test_For_File_Set(numbered, off)).size(), 1u);

    const File_Set_State set = Test_For_File_Set(numbered, k_multi_on);
    std::filesystem::remove(dir.Path("data.001"));
    EXPECT_EQ(File_Set_Size(File_Set_Members(numbered, set)), -1);
}

}  // namespace
}  // namespace vantrel::test
