#include <gtest/gtest.h>

#include <fstream>

#include "arg_list.h"
#include "cmd_export.h"
#include "support/temp_folder.h"
#include "export_fixture.h"
#include "python_check.h"

namespace vantrel::test {
namespace {

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
