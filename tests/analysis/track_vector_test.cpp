// Long-track and cross-track components: hand-computed rotations, the missing-value and
// clamp rules, the angle limits, and a synthetic transect whose current is known.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/track_chart.h"
#include "analysis/track_vector.h"
#include "dataset/data_set.h"
#include "settings/settings.h"
#include "loading/file_loading.h"
#include "support/default_settings.h"
#include "support/temp_folder.h"
#include "synth_writer.h"
#include "support/expect_fields.h"

namespace vantrel::test {
namespace {

constexpr std::int16_t k_bad = k_bad_velocity;

struct Track_Fixture : ::testing::Test {
    Data_Set ds;
    Track_Vector_Options options;
    bool rotate = true;

    // Two ensembles of two bins: (east, north) per bin.
    void SetUp() override {
        Allocate_Data_Set(ds, false, 2, 2);
        ds.Sub_Count = 2;
        const std::int16_t values[2][2][2] = {{{300, 400}, {-100, 250}}, {{k_bad, 50}, {32000, 32000}}};
        for (std::size_t e = 0; e < 2; ++e)
            for (std::size_t b = 0; b < 2; ++b) {
                ds.Sub_Vel(0, b, e) = values[e][b][0];
                ds.Sub_Vel(1, b, e) = values[e][b][1];
            }
    }
    void Rotate(int source, double angle = 0) {
        options.Select_Auto = {source == 0, source == 1, source == 2};
        options.ProjectionAngle = angle;
        rotate = true;
        Rotate_Track_Data(ds, 2, options, rotate);
        EXPECT_FALSE(rotate);
    }
    std::int16_t Long(std::size_t e, std::size_t b) const { return ds.Sub_Vel(6, b, e); }
    std::int16_t Cross(std::size_t e, std::size_t b) const { return ds.Sub_Vel(7, b, e); }
};

TEST_F(Track_Fixture, ManualAnglesZeroAndNinetySwapTheComponentsAndMissingStaysMissing) {
    Rotate(2, 0);
    Expect_Fields({{"long", Long(0, 0), 400}, {"cross", Cross(0, 0), 300}, {"missing long", Long(1, 0), k_bad},
                   {"missing cross", Cross(1, 0), k_bad}});
    Rotate(2, 90);
    Expect_Fields({{"long", Long(0, 1), -100}, {"cross", Cross(0, 1), -250}});
    // 32000 sqrt(2) along 45 degrees is held at the limit.
    Rotate(2, 45);
    Expect_Fields({{"held", Long(1, 1), 32767}, {"cross", Cross(1, 1), 0}, {"(300 + 400) / sqrt(2)", Long(0, 0), 495}});
}

TEST_F(Track_Fixture, AutomaticSourcesTakeEachEnsemblesDirectionOrMissing) {
    ds.Sub_BT_Vel(0, 0) = 10, ds.Sub_BT_Vel(5, 0) = 900;  // 90 degrees
    ds.Sub_BT_Vel(0, 1) = k_bad, ds.Sub_BT_Vel(5, 1) = 0;
    Rotate(0);
    Expect_Fields({{"long", Long(0, 0), 300}, {"cross", Cross(0, 0), -400},
                   {"no bottom track though east and north are valid", Long(1, 1), k_bad}});
    ds.Sub_Nav_Vel(0, 1) = 5, ds.Sub_Nav_Vel(5, 1) = 1800;
    ds.Sub_Nav_Vel(0, 0) = k_bad;
    Rotate(1);
    Expect_Fields({{"missing", Long(0, 0), k_bad}, {"long", Long(1, 1), -32000}, {"cross", Cross(1, 1), -32000}});
    // Without the flag nothing is computed.
    ds.Sub_Vel(6, 0, 0) = 7;
    Rotate_Track_Data(ds, 2, options, rotate);
    EXPECT_EQ(Long(0, 0), 7);
}

TEST(Track_Vector, AngleLimitsMouseCellAndUnits) {
    EXPECT_EQ((std::array{Limit_Projection_Angle(200), Limit_Projection_Angle(-180), Limit_Projection_Angle(-179),
                          Limit_Projection_Angle(180)}),
              (std::array<double, 4>{180, 180, -179, 180}));
    // Sample i sits at dx/2 + i dx: the whole cell [i dx, (i + 1) dx) names ensemble i.
    Expect_Fields({{"12.9", Ensemble_Under_Mouse(10 + 2.9, 10, 2, 100), 1}, {"13.1", Ensemble_Under_Mouse(10 + 3.1, 10, 2, 100), 1},
                   {"14", Ensemble_Under_Mouse(10 + 4.0, 10, 2, 100), 2}, {"left", Ensemble_Under_Mouse(0, 10, 2, 100), 0},
                   {"right", Ensemble_Under_Mouse(1000, 10, 2, 100), 99}});

    Settings settings = Default_Settings();
    settings.Track_Options.Select_Auto = {false, false, true};
    settings.Track_Options.ProjectionAngle = 120;
    const Track_Titles titles = Track_Titles_Of(settings);
    EXPECT_EQ(titles.long_track, "Long Track MANUAL Projection +120.00\xC2\xB0");
    EXPECT_EQ(titles.cross_track, "Cross Track MANUAL Projection -150.00\xC2\xB0");
    settings.Track_Options.Speed_Units = {true, false, false};
    EXPECT_EQ(Track_Units_Of(settings).speed_unit, "knots");
    EXPECT_NEAR(Track_Units_Of(settings).speed_scale * 514.44444, 1, 1e-9);
}

TEST(Track_Vector, TextPanelShowsNoValueForMissingBottomTrack) {
    Data_Set ds;
    Allocate_Data_Set(ds, false, 2, 2);
    ds.Sub_Count = 1, ds.Last_Ens = 77;
    ds.Sub_BT_Vel(4, 0) = ds.Sub_BT_Vel(5, 0) = k_bad;
    ds.Sub_Nav_Vel(4, 0) = 1234, ds.Sub_Nav_Vel(5, 0) = 2705;
    for (std::size_t i = 0; i < 7; ++i) ds.Sub_Time(i, 0) = static_cast<std::uint8_t>(i + 1);
    Settings settings = Default_Settings();
    settings.Vel_Reference = k_ref_gps_vtg;
    const auto lines = Track_Text_Panel(ds, settings);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(std::vector(lines.begin() + 1, lines.end()),
              (std::vector<std::string>{"Bottom" + std::string(25, ' '), "Navigation    1.234      270.50", "Reference  NAVIGATION",
                                        "Ensemble: 77", "Date:    01/02/03", "Time:    04:05:06.07"}));
}

// A ship steaming at 60 degrees over a uniform current: projected on the navigation course
// and on the bottom-track course the current's components along and across it come back.
TEST(Track_Vector, SynthTransectGivesTheCurrentAlongAndAcrossTheCourse) {
    Temp_Folder folder;
    const std::string path = folder.Path("transect.ens");
    synth::Write_Synth_File(path, {.ensembles = 200, .bins = 10, .bottom_track = true, .navigation = true, .current_east = 400,
                                   .current_north = -300, .shear_east = 0, .shear_north = 0, .vertical = 0, .ship_direction = 60});

    Open_State app;
    Load_Default_Options(app.settings);
    app.settings.Vel_Reference = k_ref_bottom_track;
    Open_File_Host host;
    ASSERT_TRUE(Open_File(app, host, path).Ok());
    Data_Set& ds = app.ds;
    ASSERT_GT(ds.Sub_Count, 100);
    const double along = -300 * 0.5 + 400 * std::sqrt(3.0) / 2;   // 196.4
    const double across = -300 * -std::sqrt(3.0) / 2 + 400 * 0.5;  // 459.8
    for (int source : {1, 0}) {
        const Track_Vector_Options options{.Select_Auto = {source == 0, source == 1, false}};
        bool rotate = true;
        Rotate_Track_Data(ds, app.dec.Num_Bins, options, rotate);
        int checked = 0;
        for (std::size_t e = 0; e < static_cast<std::size_t>(ds.Sub_Count); ++e)
            for (std::size_t b = 0; b < static_cast<std::size_t>(app.dec.Num_Bins); ++b) {
                if (ds.Sub_Vel(6, b, e) == k_bad) continue;
                EXPECT_NEAR(ds.Sub_Vel(6, b, e), along, 5) << e << " " << b;
                EXPECT_NEAR(ds.Sub_Vel(7, b, e), across, 5) << e << " " << b;
                ++checked;
            }
        EXPECT_GT(checked, 1000);
    }
}

}  // namespace
}  // namespace vantrel::test
