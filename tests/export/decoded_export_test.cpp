// Exports of ensembles that went through the real decoder and processing: the MAT-file
// and the text file agree with each other and with the data set, row by row.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app_state.h"
#include "export/export_common.h"
#include "export/mat_export.h"
#include "export/text_export.h"
#include "support/temp_file.h"
#include "memory_loader.h"
#include "python_check.h"

namespace vantrel::test {
namespace {

TEST(Decoded_Export, series_mat_and_text_agree_with_the_decoded_ensembles) {
    const Memory_Ensembles mem({.ensembles = 24, .bins = 8, .bottom_track = true, .navigation = true,
                                .first_number = 101, .noise = 30, .heading_start = 170, .heading_rate = 1.5});
    App_State app;
    mem.Open(app);
    app.ds.Orientation_Count = 24;  // all facing down
    const Sub_Set_Loader loader = mem.Loader(app);
    Export_Selection sel;
    sel.Series_Range = {"101", "124", "2"};
    for (int t : {10, 15, 20, 36}) sel.Series_Types[static_cast<std::size_t>(t)] = true;
    sel.Anc_Types[2] = sel.Anc_Types[4] = sel.Anc_Types[6] = true;
    for (int p : {1, 8}) sel.Series_Bins[static_cast<std::size_t>(p - 1)] = true;
    Progress_Hooks progress;
    Export_Job job{app.ds, app.dec, sel, loader, progress, "/data/decoded.000"};

    Temp_Dir dir;
    const std::string mat_path = dir.File("series.mat"), text_path = dir.File("series.txt");
    {
        std::ofstream mat(mat_path, std::ios::binary), text(text_path, std::ios::binary);
        Write_Series_Mat(job, mat);
        Write_Series_Text(job, text);
    }
    const Mat_Contents m = Load_Mat_With_Scipy(mat_path);
    ASSERT_TRUE(m.ok) << m.raw;
    bool ok = false;
    const auto rows = Read_Text_With_Csv(text_path, ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(rows.size(), 16u + 12);
    EXPECT_EQ(m.vars.at("ORUSystem").values[0], System_Text(app.dec));

    const auto& vel = m.vars.at("SerEmmpersec");
    ASSERT_EQ(vel.rows, 12);
    ASSERT_EQ(vel.cols, 2);
    for (int r = 0; r < 12; ++r) {
        const std::int32_t e = 101 + 2 * r;
        ASSERT_TRUE(loader(e, e));
        const Data_Set& ds = app.ds;
        EXPECT_EQ(m.vars.at("SerEnsembles").values[static_cast<std::size_t>(r)], std::to_string(e));
        // Facing down: list position 1 is the last bin of the data set.
        const std::int16_t top = ds.Sub_Vel(0, 7, 0), bottom = ds.Sub_Vel(0, 0, 0);
        EXPECT_EQ(vel.values[static_cast<std::size_t>(r)], std::to_string(top));
        EXPECT_EQ(vel.values[static_cast<std::size_t>(12 + r)], std::to_string(bottom));
        const std::int32_t h = ds.Sub_Anc(2, 0);
        EXPECT_EQ(m.vars.at("AnH100thDeg").values[static_cast<std::size_t>(r)], std::to_string(h >= 18000 ? h - 36000 : h));
        EXPECT_EQ(m.vars.at("AnBIT").values[static_cast<std::size_t>(r)], std::to_string(static_cast<std::uint16_t>(ds.Sub_Anc(6, 0))));
        EXPECT_EQ(m.vars.at("AnBTEmmpersec").values[static_cast<std::size_t>(r)], std::to_string(ds.Sub_BT_Vel(0, 0)));

        const std::vector<std::string>& row = rows[16 + static_cast<std::size_t>(r)];
        ASSERT_GE(row.size(), 14u);
        EXPECT_EQ(row[0], std::to_string(e));
        EXPECT_EQ(row[12], top == k_bad_velocity ? "" : std::to_string(top));
        EXPECT_EQ(row[13], bottom == k_bad_velocity ? "" : std::to_string(bottom));
    }
    // The headings pass 180 degrees within the range, so the wrap is exercised.
    EXPECT_NE(m.vars.at("AnH100thDeg").values.front()[0], '-');
    EXPECT_EQ(m.vars.at("AnH100thDeg").values.back()[0], '-');
}

}  // namespace
}  // namespace vantrel::test
