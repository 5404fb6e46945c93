#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "decode/scanner.h"
#include "support/bb_builder.h"

namespace vantrel::test {
namespace {

Bytes Numbered(std::uint32_t n) { return Ensemble({Fixed_Leader(), Variable_Leader(n)}); }

std::uint32_t Number_In_Buffer(const Decoder_State& dec) {
    // Variable leader is the second block: offset at table entry 1.
    const std::size_t off = dec.Ens_Buffer[8] | (dec.Ens_Buffer[9] << 8);
    return dec.Ens_Buffer[off + 2] | (dec.Ens_Buffer[off + 3] << 8);
}

TEST(Scanner, ChecksumIsTheByteSumModulo65536AtEveryLengthAndAlignment) {
    Bytes bytes(70000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(255 - (i * 7) % 13);
    for (std::size_t start = 0; start < 3; ++start) {
        for (const std::size_t n : std::vector<std::size_t>{0, 1, 15, 16, 17, 31, 33, 64, 65, 1000, 65535, 69990}) {
            std::uint32_t sum = 0;
            for (std::size_t i = 0; i < n; ++i) sum += bytes[start + i];
            EXPECT_EQ(Checksum(bytes.data() + start, n), static_cast<std::uint16_t>(sum)) << start << " + " << n;
        }
    }
}

struct Scan_Fixture {
    Binary_File file;
    Decoder_State dec;

    void Open(const Bytes& bytes, std::int32_t structure = k_structure_bb) {
        file.Open_Bytes(bytes);
        dec.Data_Structure = structure;
    }
    // Ensemble numbers found in the bytes by repeated searches until one fails.
    std::vector<std::uint32_t> Walk(const Bytes& bytes, std::int32_t structure = k_structure_bb) {
        Open(bytes, structure);
        std::vector<std::uint32_t> found;
        bool loaded = true;
        while (Get_Next_Ensemble(file, dec, loaded, No_Progress())) found.push_back(Number_In_Buffer(dec));
        return found;
    }
};

TEST(Scanner, SkipLimitCountsOnlyNonHeaderBytes) {
    for (std::size_t zeros : {500u, 9999u, 10000u}) {
        Scan_Fixture s;
        Bytes bytes(zeros, 0);
        Append(bytes, Numbered(1));
        EXPECT_EQ(s.Walk(bytes).size(), zeros < 10000 ? 1u : 0u) << zeros;
    }
    // A byte after a lone header byte is not counted: 9000 pairs of 0x7F 0x00 still find it.
    Scan_Fixture s;
    Bytes bytes;
    for (int i = 0; i < 9000; ++i) Append(bytes, {0x7F, 0x00});
    Append(bytes, Numbered(4));
    EXPECT_EQ(s.Walk(bytes), (std::vector<std::uint32_t>{4}));
}

TEST(Scanner, StopEndsASearchInARunOfHeaderBytes) {
    // Such a run is never counted as skipped: without Stop the search would cross it all.
    for (const auto& [structure, marker] : {std::pair{k_structure_bb, 0x7F}, {k_structure_nb, 0x3F}}) {
        Scan_Fixture s;
        Bytes bytes(100000, static_cast<std::uint8_t>(marker));
        Append(bytes, Numbered(1));
        s.Open(bytes, structure);
        Progress_Hooks hooks;
        hooks.on_yield = [&hooks] { hooks.stop_requested = true; };
        bool loaded = true;
        EXPECT_FALSE(Get_Next_Ensemble(s.file, s.dec, loaded, hooks)) << structure;
        EXPECT_LT(s.file.Position(), 100000) << structure;
    }
}

TEST(Scanner, ARecordHeadedLikeTheRunOfHeaderBytesBeforeItIsFound) {
    // In such a run each candidate's sum is rolled on from the one before; a record whose first
    // four bytes are the run's own, so of the same stated length, must still pass in its turn.
    for (const auto& [structure, marker] : {std::pair{k_structure_bb, 0x7F}, {k_structure_nb, 0x3F}}) {
        const std::size_t count = static_cast<std::size_t>(marker) * 257;
        Bytes record(count + 2);
        std::uint32_t seed = 12345;
        for (std::uint8_t& b : record) b = static_cast<std::uint8_t>((seed = seed * 1103515245 + 12345) >> 24);
        std::fill_n(record.begin(), 4, static_cast<std::uint8_t>(marker));
        const std::uint16_t sum = Checksum(record.data(), count);
        const bool little = structure == k_structure_bb;
        record[count] = static_cast<std::uint8_t>(little ? sum : sum >> 8);
        record[count + 1] = static_cast<std::uint8_t>(little ? sum >> 8 : sum);
        Bytes bytes(300, static_cast<std::uint8_t>(marker));
        Append(bytes, record);
        Scan_Fixture s;
        s.Open(bytes, structure);
        bool loaded = true;
        ASSERT_TRUE(Get_Next_Ensemble(s.file, s.dec, loaded, No_Progress())) << structure;
        EXPECT_EQ((std::pair{static_cast<std::size_t>(s.dec.Ens_Bytes), s.file.Position()}),
                  (std::pair{count, static_cast<std::int64_t>(bytes.size()) + 1}))
            << structure;
    }
}

TEST(Scanner, FalseHeaderRunningPastTheEndDoesNotHideLaterEnsembles) {
    Scan_Fixture s;
    Bytes bytes = Numbered(1);
    Append(bytes, Bytes{0x7F, 0x7F, 0xFF, 0xFF, 0x00, 0x00});  // claims 65535 bytes
    Append(bytes, Numbered(2));
    Append(bytes, Numbered(3));
    EXPECT_EQ(s.Walk(bytes), (std::vector<std::uint32_t>{1, 2, 3}));
    EXPECT_TRUE(s.file.Eof());
}

TEST(Scanner, ResynchronisesOnTheByteAfterAFailedHeaderAndSkipsCorruptChecksumsAndTooShortRecords) {
    Scan_Fixture s;
    Bytes bytes = {0x7F};  // 7F 7F 7F ...: the first ensemble starts at the second byte
    Append(bytes, Numbered(1));
    for (std::uint32_t n : {2u, 3u}) {
        Bytes bad = Numbered(n);
        bad[20] ^= 0x55;
        Append(bytes, bad);
    }
    Append(bytes, Bytes{0x7F, 0x7F, 0x04, 0x00, 0x02, 0x01});  // byte count 4, checksum right
    Append(bytes, Numbered(4));
    // Enough behind it that the false candidate, of another length, is read whole first.
    while (bytes.size() <= 0xFFFF) Append(bytes, Numbered(5));
    const std::vector<std::uint32_t> numbers = s.Walk(bytes);
    ASSERT_GT(numbers.size(), 3u);
    EXPECT_EQ((std::vector<std::uint32_t>(numbers.begin(), numbers.begin() + 3)), (std::vector<std::uint32_t>{1, 4, 5}));
}

TEST(Scanner, TruncatedLastEnsembleIsNotReturnedAndBytesAreRestored) {
    Scan_Fixture s;
    Bytes bytes = Numbered(1), last = Numbered(2);
    Append(bytes, Bytes(last.begin(), last.end() - 1));
    s.Open(bytes);
    bool loaded = true;
    ASSERT_TRUE(Get_Next_Ensemble(s.file, s.dec, loaded, No_Progress()));
    const std::int32_t found_bytes = s.dec.Ens_Bytes;
    s.dec.Ens_Bytes = 1234;
    EXPECT_FALSE(Get_Next_Ensemble(s.file, s.dec, loaded, No_Progress()));
    EXPECT_EQ((std::tuple{s.dec.Ens_Bytes, s.file.Eof(), found_bytes > 0}), (std::tuple{1234, true, true}));
}

// A minimal narrowband record: byte count, block sizes (leader size low byte 0x3F), no blocks.
Bytes Narrowband_Record() {
    Bytes r(16, 0);
    r[1] = 14;    // byte count
    r[3] = 0x3F;  // the marker
    unsigned sum = 0;
    for (int i = 0; i < 14; ++i) sum += r[static_cast<std::size_t>(i)];
    r[14] = static_cast<std::uint8_t>(sum >> 8);
    r[15] = static_cast<std::uint8_t>(sum & 0xFF);
    return r;
}

TEST(Scanner, DeterminesTheStructureAndRewinds) {
    // The structure found, and the file's position after the search.
    using Found = std::pair<std::int32_t, std::int64_t>;
    const auto determined = [](Scan_Fixture& s, std::size_t filler, const std::vector<Bytes>& records) {
        Bytes bytes(filler, 0x11);
        for (const Bytes& r : records) Append(bytes, r);
        s.Open(bytes);
        return Found{Determine_File_Data_Structure(s.file, s.dec, No_Progress()), s.file.Position()};
    };
    Scan_Fixture bb, nb, unknown;
    EXPECT_EQ(determined(bb, 300, {Numbered(1)}), (Found{k_structure_bb, 1}));
    // Beyond the broadband skip limit, with false markers first.
    EXPECT_EQ(determined(nb, 12000, {{0x00, 0x00, 0x00, 0x3F, 0x3F, 0x3F}, Narrowband_Record(), Numbered(1)}), (Found{k_structure_nb, 1}));
    EXPECT_EQ(nb.dec.Ens_Bytes, 14);
    EXPECT_EQ(determined(unknown, 0, {Bytes(5000, 0x3F)}), (Found{k_structure_unknown, 1}));
}

TEST(Scanner, NarrowbandSearchGoesOnAfterAFailedMarker) {
    Scan_Fixture s;
    Bytes bytes = {0x00, 0x10, 0x03, 0x3F, 0x05};  // a marker whose 16-byte candidate fails
    Append(bytes, Narrowband_Record());
    Append(bytes, Narrowband_Record());
    EXPECT_EQ(s.Walk(bytes, k_structure_nb).size(), 2u);
}

}  // namespace
}  // namespace vantrel::test
