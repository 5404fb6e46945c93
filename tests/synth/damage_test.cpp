// Damaged files: the scanner finds every intact ensemble the manifest lists, in order,
// and nothing else.
#include <gtest/gtest.h>

#include "app_state.h"
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

std::int64_t Count(const Synth_Manifest& m, Record_Kind kind) {
    std::int64_t n = 0;
    for (const auto& e : m.entries) n += e.kind == kind;
    return n;
}

// Writes the file and walks it: the manifest tiles the file, and the scanner finds
// exactly the findable records, at their positions, with their numbers.
Synth_Manifest Check_Walk(const Synth_Options& in, const std::string& name) {
    const Synth_Options opt = Resolved(in);
    Temp_Folder folder;
    const std::string tmp_path = folder.Path(name);
    const Synth_Manifest m = Write_Synth_File(tmp_path, opt);
    std::int64_t at = 1;
    for (const auto& e : m.entries) {
        EXPECT_EQ(e.position, at) << "records follow each other without gaps";
        at += e.length;
    }
    EXPECT_EQ(File_Length(tmp_path), at - 1);
    EXPECT_EQ(m.file_bytes, at - 1);

    App_State app;
    const bool nb = opt.structure == Synth_Structure::Narrowband;
    const auto found = Walk_File(tmp_path, app, {}, nb ? k_structure_nb : k_structure_bb);
    const auto expected = Findable(m);
    EXPECT_EQ(found.size(), expected.size());
    for (std::size_t i = 0; i < std::min(found.size(), expected.size()); ++i) {
        const Manifest_Entry& e = expected[i];
        EXPECT_EQ(found[i].position, e.position) << "record " << i;
        EXPECT_EQ(found[i].ens_bytes + 2, e.length) << "record " << i;
        if (e.kind == Record_Kind::Long_Record && nb) {
            EXPECT_EQ(e.length, 8260);
            EXPECT_EQ(found[i].number, e.number) << "a narrowband long record keeps its leader";
        } else if (e.kind == Record_Kind::Long_Record) {
            EXPECT_EQ(e.length, 8260);
            EXPECT_FALSE(found[i].have_vl) << "a long record's variable leader is skipped";
        } else {
            EXPECT_TRUE(found[i].have_vl);
            EXPECT_EQ(found[i].number, e.number) << "record " << i;
        }
    }
    return m;
}

struct Damage_Case {
    const char* name;
    Synth_Options opt;
    // Expected manifest counts: garbage runs, bad checksums, dropped, truncated, long records, repeats.
    std::array<std::int64_t, 6> counts;
};

class Synth_Damage : public ::testing::TestWithParam<Damage_Case> {};

TEST_P(Synth_Damage, ScannerFindsEveryIntactRecordAndNoOther) {
    const Damage_Case& c = GetParam();
    Synth_Options o = c.opt;
    o.bins = 12;
    o.bottom_track = true;
    o.noise = 30;
    o.seed = o.seed == 1 ? 7 : o.seed;
    const Synth_Manifest m = Check_Walk(o, "damaged.ens");
    const std::array<std::int64_t, 6> counts = {Count(m, Record_Kind::Garbage),   Count(m, Record_Kind::Bad_Checksum),
                                                Count(m, Record_Kind::Dropped),   Count(m, Record_Kind::Truncated),
                                                Count(m, Record_Kind::Long_Record), Count(m, Record_Kind::Repeat)};
    EXPECT_EQ(counts, c.counts);
    if (o.garbage > 0) {
        EXPECT_EQ(m.entries.front().kind, Record_Kind::Garbage);
    }
    if (o.truncate_last) {
        EXPECT_EQ(m.entries.back().kind, Record_Kind::Truncated) << "the file ends inside the cut ensemble";
    } else if (o.garbage > 0) {
        EXPECT_EQ(m.entries.back().kind, Record_Kind::Garbage);
    }
}

// Index 20 is both a third and a seventh ensemble: dropped, not written with a bad checksum.
// The 90th ensemble is cut short rather than dropped; long records follow dropped slots too.
INSTANTIATE_TEST_SUITE_P(
    Synth, Synth_Damage,
    ::testing::Values(
        Damage_Case{"garbage", {.ensembles = 30, .garbage = 1500, .garbage_every = 4}, {9, 0, 0, 0, 0, 0}},
        Damage_Case{"bad_and_dropped", {.ensembles = 50, .bad_checksum_every = 3, .drop_every = 7}, {0, 14, 7, 0, 0, 0}},
        Damage_Case{"truncated_after_garbage", {.ensembles = 10, .garbage = 200, .truncate_last = true}, {2, 0, 0, 1, 0, 0}},
        Damage_Case{"long_records", {.ensembles = 12, .long_records_every = 4}, {0, 0, 0, 0, 3, 0}},
        Damage_Case{"every_kind_earth",
                    {.ensembles = 90, .earth_coords = true, .navigation = true, .text_block = true, .garbage = 700,
                     .garbage_every = 20, .bad_checksum_every = 8, .drop_every = 15, .truncate_last = true,
                     .long_records_every = 30, .repeat_every = 7, .reset_at = 50},
                    {6, 11, 5, 1, 2, 11}},
        Damage_Case{"narrowband_up_beam",
                    {.ensembles = 120, .facing_up = true, .seed = 99, .structure = Synth_Structure::Narrowband,
                     .garbage = 900, .garbage_every = 10, .bad_checksum_every = 13, .drop_every = 17,
                     .truncate_last = true, .long_records_every = 25, .repeat_every = 9, .reset_at = 70},
                    {13, 9, 7, 1, 4, 12}}),
    [](const ::testing::TestParamInfo<Damage_Case>& p) { return p.param.name; });

}  // namespace
}  // namespace vantrel::synth::test
