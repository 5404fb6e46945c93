#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "export/run_export.h"
#include "support/temp_folder.h"
#include "support/expect_fields.h"
#include "export_fixture.h"
#include "python_check.h"

namespace vantrel::test {
namespace {

struct Run_Export_Test : ::testing::Test {
    Temp_Folder dir;
    Export_Fixture f;

    void SetUp() override {
        f.app.ds.First_Ens = 5;  // the user's Sub Set and bins
        f.app.ds.Last_Ens = 12;
        f.app.ds.First_Bin = 2;
        f.app.ds.Last_Bin = 4;
        f.sel.Series_Range = {"1", "3", "1"};
        f.sel.Series_Types[10] = true;
        Export_Fixture::Select_Bins(f.sel.Series_Bins, {1});
    }
};

TEST_F(Run_Export_Test, RefusalsExportNothingButPutTheSubSetBack) {
    const std::string path = dir.Path("taken.txt");
    Write_File_Text(path, "keep");
    EXPECT_EQ(Run_Export(f.job, Export_Kind::k_series, path).message, "Over-Write of File Not Allowed");
    EXPECT_EQ(Read_File_Text(path), "keep");
    EXPECT_EQ(f.loads, (std::vector{std::pair(5, 12)}));
    EXPECT_EQ(Run_Export(f.job, Export_Kind::k_series, dir.Path("no/such/folder/x.txt")).kind, Outcome_Kind::k_cannot_write);
    EXPECT_EQ(f.loads.back(), std::make_pair(5, 12));

    f.loads.clear();
    f.app.ds.File_Loaded = false;
    EXPECT_EQ(Run_Export(f.job, Export_Kind::k_series, dir.Path("none.txt")).kind, Outcome_Kind::k_nothing_loaded);
    EXPECT_EQ((std::pair{std::filesystem::exists(dir.Path("none.txt")), f.loads.size()}), (std::pair{false, std::size_t{0}}));
}

TEST_F(Run_Export_Test, AMemberThatCannotBeReadEndsTheExportWithItsMessageAndLeavesNoFile) {
    f.unreadable_from = 2;
    f.sel.Contour_Range = {"1", "3", "1"};
    f.sel.Profile_Ens = "2";
    f.sel.Series_File_Type = Export_File_Type::k_mat;
    for (const Export_Kind kind : {Export_Kind::k_contour, Export_Kind::k_profile, Export_Kind::k_series}) {
        const std::string path = dir.Path("cut.out");
        const Outcome outcome = Run_Export(f.job, kind, path);
        EXPECT_EQ((std::pair{outcome.kind, outcome.message}), (std::pair{Outcome_Kind::k_invalid_file, std::string("member gone")}));
        EXPECT_FALSE(std::filesystem::exists(path));
        f.job.failure = {};
    }
}

TEST_F(Run_Export_Test, EachTabRunsItsOwnWriterIntoAnEmptyFileAndRestoresTheSubSet) {
    const std::string path = dir.Path("empty.mat");
    std::ofstream(path, std::ios::binary).close();
    f.sel.Series_File_Type = Export_File_Type::k_mat;
    EXPECT_EQ(Run_Export(f.job, Export_Kind::k_series, path).kind, Outcome_Kind::k_ok);
    ASSERT_EQ(f.loads.size(), 1u + 3 + 1);
    EXPECT_EQ(f.loads.back(), std::make_pair(5, 12));
    Expect_Fields({{"first bin", f.app.ds.First_Bin, 2}, {"last bin", f.app.ds.Last_Bin, 4},
                   {"rows", Load_Mat_With_Scipy(path).vars.at("SerEmmpersec").rows, 3}});

    const std::string text_path = dir.Path("contour.txt");
    f.sel.Contour_Range = {"1", "2", "1"};
    EXPECT_EQ(Run_Export(f.job, Export_Kind::k_contour, text_path).kind, Outcome_Kind::k_ok);
    EXPECT_EQ(Read_File_Text(text_path).rfind("\"Contour Data =", 0), 0u);
    const std::string mat_path = dir.Path("profile.mat");
    f.sel.Profile_File_Type = Export_File_Type::k_mat;
    f.sel.Profile_Ens = "4";
    EXPECT_EQ(Run_Export(f.job, Export_Kind::k_profile, mat_path).kind, Outcome_Kind::k_ok);
    EXPECT_EQ(Load_Mat_With_Scipy(mat_path).order.front(), "ORUProfileEns");
}

}  // namespace
}  // namespace vantrel::test
