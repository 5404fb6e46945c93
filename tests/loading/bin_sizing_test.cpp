// Profile arrays sized from the file's bins hold what arrays of 256 bins hold, bin for bin,
// including files whose bin count grows after the first ensembles.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <type_traits>

#include "app_state.h"
#include "loading/file_loading.h"
#include "support/temp_folder.h"
#include "synth_writer.h"

namespace vantrel {
namespace {

// A bin `sized` does not hold is empty in `full`: zero, or a velocity not measured.
template <typename T>
bool Is_Empty(T v) {
    if constexpr (std::is_same_v<T, std::int16_t>) {
        if (v == k_bad_velocity) return true;
    }
    return v == T{};
}

// Every element of `full` (256 bins) against `sized`, in the slots loaded.
template <typename T>
void Expect_Same_Profile(const Dense_Array<T>& sized, const Dense_Array<T>& full, std::int32_t slots, const char* name) {
    ASSERT_EQ(full.Extent(1), static_cast<std::size_t>(k_max_bins)) << name;
    ASSERT_EQ(sized.Extent(0), full.Extent(0)) << name;
    ASSERT_EQ(sized.Extent(2), full.Extent(2)) << name;
    for (std::size_t s = 0; s < static_cast<std::size_t>(slots); ++s) {
        for (std::size_t b = 0; b < full.Extent(1); ++b) {
            for (std::size_t c = 0; c < full.Extent(0); ++c) {
                const bool same = b < sized.Extent(1) ? sized(c, b, s) == full(c, b, s) : Is_Empty(full(c, b, s));
                if (!same) {
                    const T v = b < sized.Extent(1) ? sized(c, b, s) : T{};
                    ADD_FAILURE() << name << " (" << c << ", " << b << ", " << s << "): " << +v << " against " << +full(c, b, s);
                    return;
                }
            }
        }
    }
}

struct Bin_Sizing : ::testing::Test {
    test::Temp_Folder dir;
    App_State sized, full;
    Open_File_Host host;

    std::string Synth(const char* name, int bins, std::int64_t change_at = 0, int new_bins = 0) {
        const std::string path = dir.Path(name);
        synth::Write_Synth_File(path, {.ensembles = 1200, .bins = bins, .bottom_track = true, .noise = 20,
                                       .setup_change_at = change_at, .new_bins = new_bins});
        return path;
    }

    void Open_Both(const std::string& path) {
        full.dec.Num_Bins = k_max_bins;  // the arrays start as wide as they can be
        for (App_State* app : {&sized, &full}) {
            app->settings.Max_Whole_Ens = 300;
            app->settings.Max_Sub_Ens = 400;
            ASSERT_EQ(Open_File(*app, host, path), Outcome_Kind::k_ok);
        }
    }

    // The velocity array and the byte arrays named, of both states.
    void Expect_Same_Profiles(Dense_Array<std::int16_t> Data_Set::*vel,
                              std::initializer_list<Dense_Array<std::uint8_t> Data_Set::*> bytes, std::int32_t slots) {
        Expect_Same_Profile(sized.ds.*vel, full.ds.*vel, slots, "velocity");
        for (const auto array : bytes) Expect_Same_Profile(sized.ds.*array, full.ds.*array, slots, "bytes");
    }

    void Expect_Same_Sub_Set() {
        EXPECT_EQ(sized.ds.Sub_Count, full.ds.Sub_Count);
        Expect_Same_Profiles(&Data_Set::Sub_Vel, {&Data_Set::Sub_Corr, &Data_Set::Sub_Echo, &Data_Set::Sub_PGood},
                             full.ds.Sub_Count);
        for (std::size_t b = 0; b < static_cast<std::size_t>(k_max_bins); ++b)
            for (std::size_t c = 0; c < 3; ++c) EXPECT_EQ(sized.ds.Bin_Work(c, b), full.ds.Bin_Work(c, b));
    }

    void Expect_Same_Whole_Set() {
        EXPECT_EQ(sized.ds.Whole_Count, full.ds.Whole_Count);
        Expect_Same_Profiles(&Data_Set::Whole_Vel, {&Data_Set::Whole_Corr, &Data_Set::Whole_Echo, &Data_Set::Whole_PGood},
                             full.ds.Whole_Count);
    }

    void Reload_Both(std::int32_t first, std::int32_t last) {
        for (App_State* app : {&sized, &full}) ASSERT_TRUE(Read_File_Selection(*app, host, first, last, false));
    }
};

TEST_F(Bin_Sizing, FewBinsGrowingMidFileEvenMidLoadAndManyBinsLoadTheSameValues) {
    Open_Both(Synth("grow.ens", 7, 700, 40));
    EXPECT_EQ(sized.ds.Sub_Vel.Extent(1), 40u);  // sized by the file, widened at the change
    EXPECT_EQ(sized.ds.Whole_Echo.Extent(1), 40u);
    Expect_Same_Whole_Set();
    Expect_Same_Sub_Set();
    // A Sub Set of the narrow set-up only, then one across the change into arrays cleared and
    // narrow again: the load widens them at the change, mid-way.
    Reload_Both(10, 300);
    Expect_Same_Sub_Set();
    Expect_Same_Whole_Set();
    for (App_State* app : {&sized, &full})
        Allocate_Data_Set(app->ds, false, app->settings.Max_Sub_Ens, app->settings.Max_Whole_Ens, app == &sized ? 7 : k_max_bins);
    Reload_Both(600, 900);
    EXPECT_EQ(sized.ds.Sub_Vel.Extent(1), 40u);
    Expect_Same_Sub_Set();

    Open_Both(Synth("many.ens", 200));
    EXPECT_EQ(sized.ds.Sub_PGood.Extent(1), 200u);
    Expect_Same_Whole_Set();
    Expect_Same_Sub_Set();
}

}  // namespace
}  // namespace vantrel
