#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include "platform/binary_file.h"
#include "platform/byte_reader.h"
#include "support/temp_folder.h"

namespace vantrel::test {
namespace {

std::vector<std::uint8_t> Counting_Bytes(std::size_t n) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    return v;
}

// The same bytes as a file on disk, as a file in memory, and cut into a set of files (one
// empty, one longer than the read buffer, the rest of odd sizes): all read alike.
struct Both_Files {
    Temp_Folder dir;
    std::array<Binary_File, 3> files;
    explicit Both_Files(const std::vector<std::uint8_t>& bytes) {
        files[0].Open(dir.Write("bytes", bytes));
        files[1].Open_Bytes(bytes);
        std::vector<Stream_File> parts;
        std::size_t from = 0;
        for (const std::size_t size : {std::size_t{3}, std::size_t{0}, std::size_t{1}, std::size_t{300'001}, std::size_t{4}}) {
            const std::size_t n = std::min(size, bytes.size() - from);
            parts.push_back({dir.Write("part" + std::to_string(parts.size()), {bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                                                               bytes.begin() + static_cast<std::ptrdiff_t>(from + n)}),
                             static_cast<std::int64_t>(n)});
            from += n;
        }
        parts.push_back({dir.Write("rest", {bytes.begin() + static_cast<std::ptrdiff_t>(from), bytes.end()}),
                         static_cast<std::int64_t>(bytes.size() - from)});
        files[2].Open_Set(parts);
    }
};

TEST(Binary_File, ReadEndingOnLastByteLeavesEofClearAndOneMoreSetsIt) {
  Both_Files both(Counting_Bytes(10));
  for (Binary_File& f : both.files) {
    ASSERT_TRUE(f.Is_Open());
    EXPECT_EQ((std::pair{f.Length(), f.Position()}), (std::pair<std::int64_t, std::int64_t>{10, 1}));
    std::uint8_t buf[16];
    EXPECT_EQ(f.Read(buf, 10), 10u);
    EXPECT_EQ((std::pair{f.Eof(), f.Position()}), (std::pair<bool, std::int64_t>{false, 11}));
    std::uint8_t b = 0;
    EXPECT_FALSE(f.Read_Byte(b));
    EXPECT_TRUE(f.Eof());

    f.Seek(3);  // moving clears the condition
    EXPECT_FALSE(f.Eof());
    EXPECT_EQ(f.Read(buf, 16), 8u);  // a short read reports what it got and sets the flag
    EXPECT_TRUE(f.Eof());
    EXPECT_EQ(buf[0], Counting_Bytes(10)[2]);
  }
}

TEST(Binary_File, ReadsAcrossBufferBoundariesAndSeeksAnywhere) {
    const auto bytes = Counting_Bytes(3'500'000);
    Both_Files both(bytes);
  for (Binary_File& f : both.files) {
    std::vector<std::uint8_t> got(bytes.size());
    // Byte reads up to just before the first buffer boundary, then a block straddling it.
    for (std::size_t i = 0; i < 1'048'570; ++i) ASSERT_TRUE(f.Read_Byte(got[i]));
    ASSERT_EQ(f.Read(got.data() + 1'048'570, 2'000'000), 2'000'000u);
    ASSERT_EQ(f.Read(got.data() + 3'048'570, bytes.size()), bytes.size() - 3'048'570);
    EXPECT_TRUE(f.Eof());
    EXPECT_EQ(got, bytes);

    for (std::int64_t pos : {3'000'001LL, 5LL, 1'048'577LL, 1LL, 3'500'000LL}) {
        f.Seek(pos);
        std::uint8_t b = 0;
        ASSERT_TRUE(f.Read_Byte(b)) << pos;
        EXPECT_EQ(b, bytes[static_cast<std::size_t>(pos - 1)]) << pos;
        EXPECT_EQ(f.Position(), pos + 1);
    }
    f.Seek(3'500'002);  // past the end: allowed, the next read fails
    std::uint8_t b = 0;
    EXPECT_EQ((std::tuple{f.Position(), f.Read_Byte(b), f.Eof()}), (std::tuple<std::int64_t, bool, bool>{3'500'002, false, true}));
    f.Seek(2);
    ASSERT_TRUE(f.Read_Byte(b));
    EXPECT_EQ(b, bytes[1]);
  }
}

TEST(Binary_File, ASetReadsEachFileToItsLengthAndNamesOneThatCannotBeRead) {
    Temp_Folder dir;
    const std::string a = dir.Write("a", Counting_Bytes(10));
    const std::string b = dir.Write("b", Counting_Bytes(10));
    const std::string missing = dir.Path("c");
    Binary_File f;
    EXPECT_FALSE(f.Open_Set({{a, 10}, {missing, -1}, {b, 10}}));
    EXPECT_EQ((std::pair{f.Is_Open(), f.Open_Error()}), (std::pair{false, "cannot open " + missing}));
    EXPECT_FALSE(f.Open_Set({{missing, 10}, {a, 10}}));
    EXPECT_EQ(f.Open_Error(), "cannot open " + missing);

    // A file that grew since its length was taken is read to that length only.
    ASSERT_TRUE(f.Open_Set({{a, 6}, {b, 10}}));
    std::uint8_t got[16];
    ASSERT_EQ(f.Read(got, 16), 16u);
    std::vector<std::uint8_t> expected(Counting_Bytes(6));
    for (const std::uint8_t byte : Counting_Bytes(10)) expected.push_back(byte);
    EXPECT_EQ(std::vector<std::uint8_t>(got, got + 16), expected);

    // Gone, or cut short, when reading reaches it: reading stops there and says why.
    ASSERT_TRUE(f.Open_Set({{a, 10}, {b, 10}, {a, 10}}));
    dir.Write("b", Counting_Bytes(4));
    std::uint8_t buf[30];
    EXPECT_EQ(f.Read(buf, 30), 14u);
    EXPECT_EQ(f.Read_Error(), b + ": shorter than when the set was opened");
    ASSERT_TRUE(f.Open_Set({{a, 10}, {b, 10}, {a, 10}}));
    std::filesystem::remove(b);
    EXPECT_EQ((std::pair{f.Read(buf, 30), f.Read_Error()}), (std::pair{std::size_t{10}, "cannot open " + b}));
}

TEST(Byte_Block, ReadPastTheEndReadsZeroAndMarksTheBlock) {
    const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
    const Byte_Block b(bytes, 4), c(bytes, 4);
    EXPECT_EQ((std::pair{b.Read_U32_LE(0), b.Overran()}), (std::pair{0x04030201u, false}));
    EXPECT_EQ((std::tuple{b.Read_U16_BE(3), b.Overran(), c.Read_U8(4), c.Overran()}), (std::tuple{0, true, 0, true}));
}

}  // namespace
}  // namespace vantrel::test
