// Damaged files: the scanner finds every intact ensemble the manifest lists, in order,
// and nothing else.
#include <gtest/gtest.h>

#include "synth_walk.h"

namespace vantrel::synth::test {
namespace {

// The records a scanner must return: intact ensembles, repeats and long records.
std::vector<Manifest_Entry> Findable(const Synth_Manifest& m) {
    std::vector<Manifest_Entry> out;
    for (const Manifest_Entry& e : m.entries) {
        if (e.kind == Record_Kind::Intact || e.kind == Record_Kind::Repeat || e.kind == Record_Kind::Long_Record) {
            out.push_back(e);
        }
    }
    return out;
}

// Writes the file, walks it and checks the found records against the manifest.
Synth_Manifest Check_Walk(const Synth_Options& in, const std::string& name) {
    const Synth_Options opt = Resolved(in);
    Temp_File tmp(name);
    const Synth_Manifest m = Write_Synth_File(tmp.path, opt);
    App_State app;
    const auto found = Walk_File(tmp.path, app);
    const auto expected = Findable(m);
    EXPECT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < std::min(found.size(), expected.size()); ++i) {
        const Manifest_Entry& e = expected[i];
        EXPECT_EQ(found[i].position, e.position) << "record " << i;
        EXPECT_EQ(found[i].ens_bytes + 2, e.length) << "record " << i;
        if (e.kind == Record_Kind::Long_Record) {
            EXPECT_FALSE(found[i].have_vl) << "a long record's variable leader is skipped";
        } else {
            EXPECT_TRUE(found[i].have_vl);
            EXPECT_EQ(found[i].number, e.number) << "record " << i;
        }
    }
    return m;
}

Synth_Options Small(std::int64_t ensembles) {
    Synth_Options o;
    o.ensembles = ensembles;
    o.bins = 12;
    o.bottom_track = true;
    o.seed = 7;
    o.noise = 30;
    return o;
}

std::int64_t Count(const Synth_Manifest& m, Record_Kind kind) {
    std::int64_t n = 0;
    for (const auto& e : m.entries) n += e.kind == kind;
    return n;
}

TEST(Synth_Damage, ManifestTilesTheFileWithoutGapsOrOverlaps) {
    Synth_Options o = Small(60);
    o.garbage = 333;
    o.garbage_every = 7;
    o.bad_checksum_every = 5;
    o.drop_every = 9;
    o.long_records_every = 11;
    o.repeat_every = 4;
    o.truncate_last = true;
    const Synth_Options opt = Resolved(o);
    Temp_File tmp("tiles.ens");
    const Synth_Manifest m = Write_Synth_File(tmp.path, opt);
    std::int64_t at = 1;
    for (const auto& e : m.entries) {
        EXPECT_EQ(e.position, at);
        at += e.length;
    }
    EXPECT_EQ(at - 1, m.file_bytes);
    EXPECT_EQ(File_Length(tmp.path), m.file_bytes);
    EXPECT_EQ(Count(m, Record_Kind::Long_Record), 5);
    EXPECT_EQ(Count(m, Record_Kind::Dropped), 6);
    for (const auto& e : m.entries) {
        if (e.kind == Record_Kind::Long_Record) {
            EXPECT_EQ(e.length, 8258);
        }
    }
}

TEST(Synth_Damage, GarbageAtStartBetweenAndEndIsSkipped) {
    Synth_Options o = Small(30);
    o.garbage = 1500;
    o.garbage_every = 4;
    const Synth_Manifest m = Check_Walk(o, "garbage.ens");
    EXPECT_EQ(Count(m, Record_Kind::Garbage), 1 + 7 + 1);
    EXPECT_EQ(m.entries.front().kind, Record_Kind::Garbage);
    EXPECT_EQ(m.entries.back().kind, Record_Kind::Garbage);
}

TEST(Synth_Damage, BadChecksumsAndDropsLeaveGapsInTheNumbers) {
    Synth_Options o = Small(50);
    o.bad_checksum_every = 3;
    o.drop_every = 7;
    const Synth_Manifest m = Check_Walk(o, "bad.ens");
    // Index 20 is both a third and a seventh: dropped, not written with a bad checksum.
    EXPECT_EQ(Count(m, Record_Kind::Dropped), 7);
    EXPECT_EQ(Count(m, Record_Kind::Bad_Checksum), 16 - 2);
}

TEST(Synth_Damage, AFileOfOnlyBadChecksumsHoldsNoEnsemble) {
    Synth_Options o = Small(20);
    o.bad_checksum_every = 1;
    Temp_File tmp("all_bad.ens");
    Write_Synth_File(tmp.path, Resolved(o));
    Binary_File file(tmp.path);
    Decoder_State dec;
    EXPECT_EQ(Determine_File_Data_Structure(file, dec, No_Progress()), k_structure_unknown);
}

TEST(Synth_Damage, TruncatedLastEnsembleIsNeverReturned) {
    Synth_Options o = Small(10);
    o.truncate_last = true;
    const Synth_Manifest m = Check_Walk(o, "truncated.ens");
    ASSERT_EQ(m.entries.back().kind, Record_Kind::Truncated);
    EXPECT_EQ(m.entries.back().position + m.entries.back().length - 1, m.file_bytes) << "the file ends inside it";

    o.garbage = 200;  // garbage at the end goes before the cut ensemble
    const Synth_Manifest g = Check_Walk(o, "truncated_garbage.ens");
    EXPECT_EQ(g.entries.back().kind, Record_Kind::Truncated);
}

TEST(Synth_Damage, RepeatsAndResetsKeepTheirNumbers) {
    Synth_Options o = Small(25);
    o.repeat_every = 5;
    o.reset_at = 12;
    o.first_number = 100;
    const Synth_Manifest m = Check_Walk(o, "repeat.ens");
    std::vector<std::int32_t> numbers;
    for (const auto& e : Findable(m)) numbers.push_back(e.number);
    const std::vector<std::int32_t> expected = {100, 101, 102, 103, 104, 104, 105, 106, 107, 108, 109, 109, 110,
                                                1,   2,   3,   4,   4,   5,   6,   7,   8,   9,   9,   10,  11,
                                                12,  13,  14,  14};
    EXPECT_EQ(numbers, expected);
}

TEST(Synth_Damage, LongRecordsAreFoundWithTheirVariableLeaderSkipped) {
    Synth_Options o = Small(12);
    o.long_records_every = 4;
    const Synth_Manifest m = Check_Walk(o, "long.ens");
    EXPECT_EQ(Count(m, Record_Kind::Long_Record), 3);
}

TEST(Synth_Damage, EveryKindAtOnce) {
    Synth_Options o = Small(120);
    o.garbage = 900;
    o.garbage_every = 10;
    o.bad_checksum_every = 13;
    o.drop_every = 17;
    o.truncate_last = true;
    o.long_records_every = 25;
    o.repeat_every = 9;
    o.reset_at = 70;
    o.earth_coords = true;
    o.navigation = true;
    o.text_block = true;
    Check_Walk(o, "all.ens");
    o.facing_up = true;
    o.earth_coords = false;
    o.seed = 99;
    Check_Walk(o, "all_up.ens");
}

TEST(Synth_Damage, SameSeedSameBytesOtherSeedOtherBytes) {
    Synth_Options o = Small(20);
    o.noise = 50;
    o.garbage = 100;
    o.garbage_every = 3;
    const Synth_Options opt = Resolved(o);
    Temp_File a("a.ens"), b("b.ens"), c("c.ens");
    Write_Synth_File(a.path, opt);
    Write_Synth_File(b.path, opt);
    Synth_Options other = opt;
    other.seed = 8;
    Write_Synth_File(c.path, other);
    const auto read_all = [](const std::string& path) {
        Binary_File f(path);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(f.Length()));
        f.Read(bytes.data(), bytes.size());
        return bytes;
    };
    EXPECT_EQ(read_all(a.path), read_all(b.path));
    EXPECT_NE(read_all(a.path), read_all(c.path));
}

}  // namespace
}  // namespace vantrel::synth::test
