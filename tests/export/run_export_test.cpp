#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "arg_list.h"
#include "cmd_export.h"
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

using cli::Cli_Error;

TEST(Export_Arguments, BadKindsListsAndMissingPathsAreRefused) {
    const std::vector<cli::Args> bad = {
        {"in.000", "out.txt"},                                 // no kind
        {"--kind", "chart", "in.000", "out.txt"},             // unknown kind
        {"--kind", "series", "in.000"},                       // no output
        {"--kind", "series", "--bins", "0-3", "in", "out"},   // positions start at 1
        {"--kind", "series", "--bins", "9-4", "in", "out"},
        {"--kind", "profile", "--types", "25", "in", "out"},  // profile types stop at 19
        {"--kind", "contour", "--type", "20", "in", "out"},
    };
    for (const cli::Args& args : bad) EXPECT_THROW(cli::Parse_Export_Arguments(args), Cli_Error) << args[1];

    const cli::Export_Request r =
        cli::Parse_Export_Arguments({"--kind", "series", "--types", "39", "--bins", "2,4-6", "--mat", "in", "out"});
    EXPECT_EQ(r.out, "out");
    EXPECT_TRUE(r.mat);
    const std::vector<bool> flags = cli::Parse_Number_List("2,4-6", 1, 8, "x");
    EXPECT_EQ(flags, (std::vector<bool>{false, true, false, true, true, true, false, false}));
}

TEST(Export_Command, FillsTheSelectionLikeTheWindowAndReportsARefusedFile) {
    Temp_Folder dir;
    Export_Fixture f;
    f.app.ds.First_Ens = 3;  // the loaded Sub Set supplies the default range
    f.app.ds.Last_Ens = 5;
    const std::string out = dir.Path("series.mat");
    const cli::Export_Request r = cli::Parse_Export_Arguments(
        {"--kind", "series", "--mat", "--types", "10,36", "--anc", "2", "--bins", "1-2", "in.000", out});
    EXPECT_EQ(cli::Run_Export_Request(r, f.app, f.loader, f.progress), 0);
    const Mat_Contents m = Load_Mat_With_Scipy(out);
    ASSERT_TRUE(m.ok) << m.raw;
    EXPECT_EQ(m.vars.at("SerEnsembles").values, (std::vector<std::string>{"3", "4", "5"}));
    EXPECT_EQ(m.vars.at("SerEmmpersec").cols, 2);
    EXPECT_EQ(m.vars.count("AnH100thDeg"), 1u);
    EXPECT_EQ(m.vars.at("ORUFileName").values, std::vector<std::string>{"in.000"});
    EXPECT_EQ(f.loads.back(), std::make_pair(3, 5));  // the Sub Set put back
}

}  // namespace
}  // namespace vantrel::test
