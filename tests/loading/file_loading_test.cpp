#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <string>
#include <type_traits>
#include <vector>

#include "app_state.h"
#include "loading/file_loading.h"
#include "loading/series_bins.h"
#include "processing/velocity_processing.h"
#include "synth_writer.h"
#include "support/temp_folder.h"
#include "support/bb_builder.h"
#include "support/expect_fields.h"

namespace vantrel::test {
namespace {

constexpr std::size_t k_record = 1000;

// Ensemble `number` with its clock at `seconds` of the day (wrapping at midnight).
Bytes Timed_Ensemble(std::uint32_t number, long seconds, std::size_t record_bytes = k_record) {
    BB_Fields f{.ens_number = number, .record_bytes = record_bytes};
    seconds %= 86400;
    const long hms[] = {seconds / 3600, seconds / 60 % 60, seconds % 60, 0};
    for (std::size_t i = 0; i < 4; ++i) f.clock[3 + i] = static_cast<std::uint8_t>(hms[i]);
    return Build_BB_Ensemble(f);
}

// Ensembles first..first+count-1, one second apart, the clock starting at 01:00:00 + first.
Bytes Ensembles(std::uint32_t first, std::uint32_t count, std::size_t record_bytes = k_record) {
    Bytes out;
    for (std::uint32_t i = 0; i < count; ++i) Append(out, Timed_Ensemble(first + i, 3600 + first + i, record_bytes));
    return out;
}

// The ensemble number that a slot's clock encodes (seconds since 01:00:00).
int Number_Of_Time(const Dense_Array<std::uint8_t>& time, std::size_t slot) {
    return (time(3, slot) - 1) * 3600 + time(4, slot) * 60 + time(5, slot);
}

std::vector<int> Whole_Numbers(const Data_Set& ds) {
    std::vector<int> numbers;
    for (std::int32_t s = 0; s < ds.Whole_Count; ++s) numbers.push_back(Number_Of_Time(ds.Whole_Time, static_cast<std::size_t>(s)));
    return numbers;
}

struct Recording_Host : Open_File_Host {
    std::vector<std::string> progress_captions;
    int sub_set_refreshes = 0;
    void Show_Progress(const std::string& caption) override { progress_captions.push_back(caption); }
    void Refresh_Sub_Set_Window() override { ++sub_set_refreshes; }
};

struct Loader : ::testing::Test {
    Temp_Folder dir;
    App_State app;
    Recording_Host host;

    Outcome Open(const std::string& name, std::int32_t max_whole = 256, std::int32_t max_sub = 256) {
        app.settings.Max_Whole_Ens = max_whole, app.settings.Max_Sub_Ens = max_sub;
        return Open_File(app, host, name);
    }
};

// The step rule itself is walked over file sets in file_set_walk_test.
TEST_F(Loader, EnsStepKeepsOneAndSkipsStep) {
    const std::string big = dir.Write("b.ens", Ensembles(1, 5000, 200));
    ASSERT_EQ(Open(big, 1000), Outcome_Kind::k_ok);
    const auto numbers = Whole_Numbers(app.ds);
    ASSERT_EQ(numbers.size(), 834u);
    Expect_Fields({{"step", app.ds.Ens_Step, 5}, {"second", numbers[1], 7}, {"whole step", app.ds.Whole_Step, 5},
                   {"first", app.ds.Sel_First_Ens, 1}, {"last", app.ds.Sel_Last_Ens, 5000}});
    EXPECT_EQ(host.progress_captions.front(), "Loading Whole Set...");
    // Never negative, and safe without a limit.
    Expect_Fields({{"reversed", Whole_Ens_Step(10, 5, 100), 0}, {"no limit", Whole_Ens_Step(1, 5000, 0), 0},
                   {"large", Whole_Ens_Step(1, 1 << 24, 256), (1 << 24) / 256}});
}

TEST_F(Loader, IntervalAcrossMidnightAndTheAverageLine) {
    Bytes two = Timed_Ensemble(1, 86390);
    Append(two, Timed_Ensemble(2, 86410));
    ASSERT_EQ(Open(dir.Write("m.ens", two)), Outcome_Kind::k_ok);
    Expect_Fields<double>({{"sum", app.ds.Sum_Interval, 20}, {"average", app.ds.Avg_Interval, 20}});

    ASSERT_EQ(Open(dir.Write("s.ens", Ensembles(1, 601, 200))), Outcome_Kind::k_ok);
    EXPECT_EQ(app.ds.Ens_Step, 2);
    EXPECT_TRUE(app.Info_Text.ends_with("Average Ensemble Interval 00:00:01.00\r\n")) << app.Info_Text;
    EXPECT_EQ(Average_Interval_Line(3725.5), "Average Ensemble Interval 01:02:05.50");
}

// What the loaders kept of a file or set: the Whole Set's and the Sub Set's ensembles.
std::pair<std::vector<int>, std::vector<int>> Loaded(const std::string& name, bool multi_file, std::int32_t FEns) {
    App_State app;
    app.menus.MultiFile = multi_file;
    app.settings.Max_Whole_Ens = 10;
    Open_File_Host host;
    if (Open_File(app, host, name) != Outcome_Kind::k_ok || !Read_File_Selection(app, host, FEns, FEns + 49, false)) return {};
    std::pair<std::vector<int>, std::vector<int>> kept{Whole_Numbers(app.ds), {}};
    for (std::int32_t s = 0; s < app.ds.Sub_Count; ++s) kept.second.push_back(app.ds.Sub_Ens_Number(static_cast<std::size_t>(s)));
    return kept;
}

TEST_F(Loader, ASetCutAnywhereLoadsAsTheFileItWasCutFrom) {
    // Foreign bytes and a short record shift the later ensembles off the fixed positions.
    Bytes stream = Ensembles(1, 40);
    stream.resize(stream.size() + 1700, 0x20);
    Append(stream, Timed_Ensemble(41, 3600 + 41, 299));
    Append(stream, Ensembles(42, 60));
    const auto whole = Loaded(dir.Write("whole.ens", stream), false, 35);
    ASSERT_EQ(whole.second.size(), 50u);

    // Cuts inside records, inside the foreign bytes, and one member shorter than a record.
    const std::size_t cuts[] = {0, 9500, 9900, 30123, 41800, 42300, 77777, stream.size()};
    for (const bool numbered : {true, false}) {
        SCOPED_TRACE(numbered ? "numbered set" : "acquisition-program set");
        std::string first;
        for (std::size_t i = 0; i + 1 < std::size(cuts); ++i) {
            const std::string member = numbered ? "set.00" + std::to_string(i) : "run_00000" + std::to_string(i + 1) + ".ENR";
            const std::string path = dir.Write(member, Bytes(stream.begin() + static_cast<std::ptrdiff_t>(cuts[i]),
                                                             stream.begin() + static_cast<std::ptrdiff_t>(cuts[i + 1])));
            if (i == 0) first = path;
        }
        EXPECT_EQ(Loaded(first, true, 35), whole);
    }
}

TEST_F(Loader, SubSetStartsAtTheComputedPositionAndKeepsToItsLimits) {
    ASSERT_EQ(Open(dir.Write("k.ens", Ensembles(1, 1000, 200))), Outcome_Kind::k_ok);
    Expect_Fields({{"first", app.ds.Sub_Ens_Number(0), 1}, {"count", app.ds.Sub_Count, 256},
                   {"refreshes", host.sub_set_refreshes, 1}});

    ASSERT_TRUE(Read_File_Selection(app, host, 101, 200, false));
    Expect_Fields({{"first", app.ds.First_Ens, 101}, {"last", app.ds.Last_Ens, 200},
                   {"slot 0", app.ds.Sub_Ens_Number(0), 101}, {"slot 99", app.ds.Sub_Ens_Number(99), 200}});
    EXPECT_DOUBLE_EQ(app.ds.Sub_Sum_Interval, 99);

    // The cursor is kept inside the loaded range.
    for (const auto& [cursor, kept] : {std::pair{5000, 310}, {1, 300}}) {
        app.ds.Cursor_Ens = cursor;
        ASSERT_TRUE(Read_File_Selection(app, host, 300, 310, false));
        EXPECT_EQ(app.ds.Cursor_Ens, kept) << cursor;
    }
    // Max_Sub_Ens + 1 at most, n when it is smaller.
    ASSERT_TRUE(Read_File_Selection(app, host, 1, 1000, false));
    Expect_Fields({{"count", app.ds.Sub_Count, 257}, {"last", app.ds.Last_Ens, 257}});
    ASSERT_TRUE(Read_File_Selection(app, host, 1, 100, false));
    EXPECT_EQ(app.ds.Sub_Count, 100);
    // LEns beyond the file is cut to its last ensemble.
    ASSERT_TRUE(Read_File_Selection(app, host, 990, 5000, false));
    Expect_Fields({{"count", app.ds.Sub_Count, 11}, {"last", app.ds.Last_Ens, 1000}, {"slot 10", app.ds.Sub_Ens_Number(10), 1000}});
    // A reversed range still loads one ensemble.
    ASSERT_TRUE(Read_File_Selection(app, host, 500, 400, false));
    Expect_Fields({{"count", app.ds.Sub_Count, 1}, {"slot 0", app.ds.Sub_Ens_Number(0), 500}});
}

TEST_F(Loader, SubSetWalksASetAndStopsBeyondItsEnd) {
    const std::string name = dir.Write("run.000", Ensembles(1, 50));
    dir.Write("run.001", Ensembles(51, 50));
    dir.Write("run.002", Ensembles(101, 50));
    app.menus.MultiFile = true;
    ASSERT_EQ(Open(name, 256, 128), Outcome_Kind::k_ok);
    // The first Sub Set runs through all three files.
    Expect_Fields({{"count", app.ds.Sub_Count, 128}, {"slot 127", app.ds.Sub_Ens_Number(127), 128}});

    ASSERT_TRUE(Read_File_Selection(app, host, app.ds.File_First_Ens + 60, 200, false));
    Expect_Fields({{"eleventh of the second file", app.ds.Sub_Ens_Number(0), 61}, {"count", app.ds.Sub_Count, 90},
                   {"last", app.ds.Last_Ens, 150}});

    app.ds.File_Last_Ens = 10000;  // as if the file had grown beyond the set
    EXPECT_EQ(Read_File_Selection(app, host, 1000, 1100, false), Outcome_Kind::k_nothing_loaded);
    EXPECT_EQ(app.ds.Sub_Count, 0);

    // A member that vanished after the open is reported, not thrown.
    std::filesystem::remove(dir.Path("run.002"));
    const Outcome gone = Read_File_Selection(app, host, 120, 140, false);
    EXPECT_EQ(std::pair(gone == Outcome_Kind::k_invalid_file, gone.message), std::pair(true, "cannot open " + dir.Path("run.002")));
}

TEST_F(Loader, NVRAMRecordsTakeNoSlot) {
    Bytes data = Ensembles(1, 5, 200);
    Append(data, Build_Two_Type_Record(8258));
    Append(data, Ensembles(6, 15, 200));
    ASSERT_EQ(Open(dir.Write("n.ens", data)), Outcome_Kind::k_ok);
    // Nor in the Whole Set, where its empty clock made the interval minutes long.
    std::vector<int> all(20);
    std::iota(all.begin(), all.end(), 1);
    EXPECT_EQ(Whole_Numbers(app.ds), all);
    EXPECT_EQ(app.ds.Avg_Interval, 1);
    ASSERT_TRUE(Read_File_Selection(app, host, 1, 20, false));
    EXPECT_TRUE(app.load.NVRAM_Flag);
    EXPECT_EQ(app.ds.Sub_Count, 20);
    for (std::int32_t s = 0; s < 20; ++s) EXPECT_EQ(app.ds.Sub_Ens_Number(static_cast<std::size_t>(s)), s + 1);
}

TEST_F(Loader, AThousandFailedSearchesEndALoad) {
    // Each failed search passes 10000 bytes without a header: 1001 of them stop the load
    // before the ensembles behind the gap; a shorter gap is crossed.
    for (const auto& [gap, count] : {std::pair{10'100'000, 2}, {9'000'000, 5}}) {
        Bytes data = Ensembles(1, 2);
        data.resize(data.size() + static_cast<std::size_t>(gap), 0x20);
        Append(data, Ensembles(3, 3));
        Open(dir.Write(std::to_string(gap) + ".ens", data));
        ASSERT_TRUE(Read_File_Selection(app, host, 1, 5, false));
        EXPECT_EQ(app.ds.Sub_Count, count) << gap;
        if (count == 2) { EXPECT_TRUE(host.Hooks().Stop()); }
    }
}

TEST_F(Loader, MonitoringShowsTheNewestEnsemblesWithoutProgress) {
    app.menus.AutoTrack = true;
    ASSERT_EQ(Open(dir.Write("g.ens", Ensembles(1, 1000, 200)), 256, 128), Outcome_Kind::k_ok);
    Expect_Fields({{"first", app.ds.First_Ens, 873}, {"last", app.ds.Last_Ens, 1000}, {"cursor", app.ds.Cursor_Ens, 1000}});
    EXPECT_TRUE(host.progress_captions.empty());

    // A file shorter than a Sub Set keeps its first ensemble.
    ASSERT_EQ(Open(dir.Write("h.ens", Ensembles(1, 50, 200)), 256, 128), Outcome_Kind::k_ok);
    Expect_Fields({{"first", app.ds.First_Ens, 1}, {"count", app.ds.Sub_Count, 50}});
}

TEST_F(Loader, ErrorStatisticsGatheredWhileLoadingEqualThoseOfTheWholeSubSet) {
    const std::string name = dir.Path("noisy.ens");
    synth::Write_Synth_File(name, synth::Resolve_Options({.ensembles = 300, .bins = 20, .noise = 40, .pitch_amplitude = 5}));
    ASSERT_EQ(Open(name), Outcome_Kind::k_ok);
    const Dense_Array<std::int32_t> gathered = app.ds.Bin_Work;
    Error_Velocity_Statistics(app);
    for (std::size_t bin = 0; bin < 20; ++bin)
        for (std::size_t c = 0; c < 3; ++c) EXPECT_EQ(gathered(c, bin), app.ds.Bin_Work(c, bin)) << bin << " " << c;
    EXPECT_GT(gathered(1, 5), 0);  // a real spread, not the empty-bin marker
}

// A stop half-way leaves every slot loaded so far processed, and the error-velocity
// statistics of exactly those slots, as a load of that many ensembles gives.
TEST(Sub_Set_Stop, StoppedLoadEqualsALoadOfWhatItReached) {
    Temp_Folder dir;
    const std::string path = dir.Path("stop.ens");
    synth::Write_Synth_File(path, {.ensembles = 600, .bins = 20, .bottom_track = true, .noise = 20, .pitch_amplitude = 5, .roll_amplitude = 5});

    App_State stopped, whole;
    Open_File_Host host;
    for (App_State* app : {&stopped, &whole}) {
        app->settings.Max_Sub_Ens = 500;
        app->settings.EoP_Options[k_eop_rssi] = true;
        ASSERT_EQ(Open_File(*app, host, path), Outcome_Kind::k_ok);
    }
    Open_File_Host stopping;
    stopping.Hooks().on_percent = [&](int percent) {
        if (percent >= 50) stopping.Hooks().stop_requested = true;
    };
    ASSERT_TRUE(Read_File_Selection(stopped, stopping, 1, 400, true));
    const Data_Set& got = stopped.ds;
    ASSERT_EQ(got.Sub_Count, 200);
    ASSERT_TRUE(Read_File_Selection(whole, host, 1, 200, false));
    const Data_Set& want = whole.ds;
    ASSERT_EQ(want.Sub_Count, 200);
    for (std::size_t s = 0; s < 200; ++s) {
        const auto vel = [&](const Data_Set& ds) { return ds.Sub_Vel.Slice(s); };
        ASSERT_TRUE(std::equal(vel(got), vel(got) + got.Sub_Vel.Slice_Size(), vel(want))) << "slot " << s;
        EXPECT_EQ(got.Sub_BT_Vel(4, s), want.Sub_BT_Vel(4, s)) << "slot " << s;
    }
    for (std::size_t b = 0; b < 20; ++b)
        for (std::size_t c = 0; c < 3; ++c) EXPECT_EQ(got.Bin_Work(c, b), want.Bin_Work(c, b)) << b;
}

// Ensemble `number` with every data type the loader keeps, or (bare) only leaders and
// velocity, over fewer bins: a set-up change at every ensemble.
Bytes Full_Or_Bare_Ensemble(std::uint32_t number, bool full) {
    Fixed_Leader_Fields leader;
    leader.bins = full ? 6 : 4;
    const std::size_t bins = leader.bins;
    Bytes vel = Block(0x0100, 2 + 8 * bins);
    for (std::size_t i = 2; i < vel.size(); i += 2) Put_U16(vel, i, static_cast<unsigned>(i * 7 + number));
    std::vector<Bytes> blocks = {Fixed_Leader(leader), Variable_Leader(number, static_cast<std::uint8_t>(number)), vel};
    if (full) {
        for (unsigned id : {0x0200u, 0x0300u, 0x0400u}) blocks.push_back(Block(id, 2 + 4 * bins, 0x41));
        for (Bytes b : {Block(0x0600, 81, 0x21), Block(0x2000, 44, 0x33), Block(0x0800, 10, 'm')}) blocks.push_back(b);
    }
    return Ensemble(blocks);
}

// Calls f(a.X, b.X) for every Sub Set array X.
template <typename F>
void Each_Sub_Array(Data_Set& a, Data_Set& b, F f) {
    f(a.Sub_Ens_Number, b.Sub_Ens_Number), f(a.Sub_Time, b.Sub_Time), f(a.Sub_Anc, b.Sub_Anc), f(a.Sub_Corr, b.Sub_Corr);
    f(a.Sub_Echo, b.Sub_Echo), f(a.Sub_PGood, b.Sub_PGood), f(a.Sub_Vel, b.Sub_Vel), f(a.Sub_BT_Vel, b.Sub_BT_Vel);
    f(a.Sub_WM_Vel, b.Sub_WM_Vel), f(a.Sub_Ref_Vel, b.Sub_Ref_Vel), f(a.Sub_Nav_Vel, b.Sub_Nav_Vel), f(a.Sub_BT_Range, b.Sub_BT_Range);
    f(a.Sub_First_Lat, b.Sub_First_Lat), f(a.Sub_First_Lon, b.Sub_First_Lon), f(a.Sub_Last_Lat, b.Sub_Last_Lat);
    f(a.Sub_Last_Lon, b.Sub_Last_Lon), f(a.Sub_Calimbro_Lat, b.Sub_Calimbro_Lat), f(a.Sub_Calimbro_Lon, b.Sub_Calimbro_Lon);
    f(a.Sub_MicroCAT, b.Sub_MicroCAT), f(a.Sub_QTRM_Depth, b.Sub_QTRM_Depth), f(a.Sub_QTRM_Flow, b.Sub_QTRM_Flow);
    f(a.Sub_QTRM_Vel, b.Sub_QTRM_Vel), f(a.Sub_QTRM_Time, b.Sub_QTRM_Time);
}

TEST_F(Loader, AReloadLeavesNothingOfWhatTheSlotsHeldBefore) {
    std::vector<Bytes> records;
    Bytes data;
    for (std::uint32_t n = 1; n <= 12; ++n) {
        records.push_back(Full_Or_Bare_Ensemble(n, n % 4 < 2));  // two narrow set-ups in a row
        Append(data, records.back());
    }
    ASSERT_EQ(Open(dir.Write("mixed.ens", data)), Outcome_Kind::k_ok);
    Data_Set& ds = app.ds;
    Each_Sub_Array(ds, ds, [](auto& a, auto&) {
        using T = std::decay_t<decltype(*a.Slice(0))>;
        T junk{};
        if constexpr (std::is_arithmetic_v<T>) junk = T(0x5A);
        else junk = "junk";
        for (std::size_t s = 0; s < a.Last_Extent(); ++s) std::fill(a.Slice(s), a.Slice(s) + a.Slice_Size(), junk);
    });
    ASSERT_TRUE(Read_File_Selection(app, host, 1, 12, false));
    ASSERT_EQ(ds.Sub_Count, 12);

    // Each slot against its ensemble decoded and processed into a slot cleared in full.
    Data_Set fresh;
    Allocate_Data_Set(fresh, false, 1, 1, Profile_Bins(ds));
    Decoder_State dec;
    dec.Data_Structure = k_structure_bb;
    for (std::size_t s = 0; s < records.size(); ++s) {
        dec.Ens_Buffer = records[s];
        dec.Ens_Bytes = static_cast<std::int32_t>(records[s].size()) - 2;
        Clear_Slot(fresh, 0);
        ASSERT_TRUE(Process_Ensemble(dec, fresh, app.settings, Decode_Options_Of(app)));
        int arrays = 0;
        Each_Sub_Array(ds, fresh, [&](auto& got, auto& want) {
            ++arrays;
            // Profile arrays up to the widest set-up's 6 bins: nothing reads beyond.
            const std::size_t n = want.Slice_Size() > 8 ? want.Extent(0) * 6 : want.Slice_Size();
            for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(got.Slice(s)[i], want.Slice(0)[i]) << "slot " << s << " array " << arrays << " at " << i;
        });
    }
}

TEST_F(Loader, CellsAboveANarrowerSetupAreBadNotStillWater) {
    // Narrow ensembles before the first wide one (the arrays widen under them) and after it.
    Bytes data;
    for (std::uint32_t n = 1; n <= 9; ++n) Append(data, Full_Or_Bare_Ensemble(n, n % 3 == 0));
    ASSERT_EQ(Open(dir.Write("change.ens", data)), Outcome_Kind::k_ok);
    const Data_Set& ds = app.ds;
    for (std::size_t s : {0u, 1u, 3u, 7u}) {
        EXPECT_NE(ds.Sub_Vel(0, 3, s), k_bad_velocity) << s;
        for (std::size_t bin : {4u, 5u}) {
            for (std::size_t c : {0u, 4u}) {
                EXPECT_EQ(ds.Sub_Vel(c, bin, s), k_bad_velocity) << s << " " << bin << " " << c;
                EXPECT_EQ(ds.Whole_Vel(c, bin, s), k_bad_velocity) << s << " " << bin << " " << c;
            }
        }
    }
}

TEST_F(Loader, FailuresLeaveNoFileLoaded) {
    ASSERT_EQ(Open(dir.Write("two.ens", Ensembles(1, 2))), Outcome_Kind::k_ok);
    EXPECT_TRUE(app.ds.File_Loaded);

    const Outcome one = Open(dir.Write("one.ens", Ensembles(1, 1)));
    EXPECT_EQ(one, Outcome_Kind::k_too_few);
    EXPECT_FALSE(app.ds.File_Loaded);
    // Not a silent blank window under the file's name.
    EXPECT_EQ(one.message, "Not enough VALID ensembles");
    EXPECT_NE(app.Info_Text.find("Not enough VALID ensembles"), std::string::npos);

    EXPECT_EQ(Open(dir.Write("junk.ens", Bytes(5000, 0x20))), Outcome_Kind::k_no_valid_ensembles);
    EXPECT_FALSE(app.ds.File_Loaded);
    EXPECT_NE(app.Info_Text.find("Not enough VALID ensembles"), std::string::npos);

    EXPECT_EQ(Open(dir.Path("missing.ens")), Outcome_Kind::k_invalid_file);
    EXPECT_EQ(Open(""), Outcome_Kind::k_cancelled);  // the host's dialog was cancelled

    app.load.Busy = true;
    EXPECT_EQ(Open(dir.Path("two.ens")), Outcome_Kind::k_busy);
}

TEST_F(Loader, FlipIsLatchedOncePerOpenForSurveyWholeSetAndSubSet) {
    // The survey and the Whole Set of a flipped open used to stay unflipped while its Sub Set turned.
    const std::string name = dir.Write("f.ens", Ensembles(1, 10));
    app.menus.Flip_Checked = true;
    ASSERT_EQ(Open(name), Outcome_Kind::k_ok);
    EXPECT_EQ(app.Info_Text.find("1st Bin -"), std::string::npos);  // the survey sees it facing up
    EXPECT_LT(app.ds.Orientation_Count, 0);
    EXPECT_EQ(app.ds.Sub_Anc(5, 0), 1);

    app.menus.Flip_Checked = false;  // takes effect at the next open
    ASSERT_TRUE(Read_File_Selection(app, host, 1, 10, false));
    EXPECT_EQ(app.ds.Sub_Anc(5, 0), 1);
    ASSERT_EQ(Open(name), Outcome_Kind::k_ok);
    EXPECT_NE(app.Info_Text.find("1st Bin -"), std::string::npos);
    EXPECT_GT(app.ds.Orientation_Count, 0);
    EXPECT_EQ(app.ds.Sub_Anc(5, 0), 0);
}

TEST_F(Loader, SeriesBinsFollowTheFacingATieCountingAsUp) {
    app.settings.Series_Bins_Setting = {};
    app.settings.Series_Bins_Setting[0] = true;  // instrument bin 1, nearest the transducer
    // As many ensembles up as down: the tie counts as facing up, bin 1 is data-set bin 0.
    Bytes mixed = BB_Run(1, 5);
    Append(mixed, BB_Run(6, 5, 1000, 0x5243 | 0x80));
    ASSERT_EQ(Open(dir.Write("mixed.ens", mixed)), Outcome_Kind::k_ok);
    Expect_Fields({{"orientation", app.ds.Orientation_Count, 0}, {"bin 0", app.ds.Series_Bins[0], 1}, {"bin 3", app.ds.Series_Bins[3], 0},
                   {"first", app.ds.First_Bin, 1}, {"last", app.ds.Last_Bin, 4}});
}

TEST(Series_Bins, ChoiceStoredByInstrumentBinComesBackForBothFacings) {
    for (const std::int32_t orientation : {3, -3}) {
        SCOPED_TRACE(orientation);
        Data_Set ds;
        ds.Orientation_Count = orientation;
        Settings settings;
        settings.Series_Bins_Setting[9] = true;  // a bin the next file may have
        ds.Series_Bins[0] = ds.Series_Bins[1] = true;
        Store_Series_Bins(ds, settings, 4);
        // Facing down, data-set index 0 is the bin farthest from the transducer: instrument bin 4.
        const std::size_t far = orientation > 0 ? 3 : 0, next = orientation > 0 ? 2 : 1;
        Expect_Fields({{"far", settings.Series_Bins_Setting[far], 1}, {"next", settings.Series_Bins_Setting[next], 1},
                       {"count", std::count(settings.Series_Bins_Setting.begin(), settings.Series_Bins_Setting.end(), true), 3}});

        Data_Set loaded;
        loaded.Orientation_Count = orientation;
        Map_Series_Bins(loaded, settings, 4);
        EXPECT_EQ(loaded.Series_Bins, ds.Series_Bins);
    }
}

TEST(Ensemble_Start, PositionsAreOneBasedRecordStarts) {
    Expect_Fields({{"first", Ensemble_Start_Position(1, 1, 998), 1}, {"third", Ensemble_Start_Position(3, 1, 998), 2001},
                   {"from 100", Ensemble_Start_Position(105, 100, 18), 101}});
}

}  // namespace
}  // namespace vantrel::test
