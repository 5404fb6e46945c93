#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>

#include "export/text_export.h"
#include "platform/text_format.h"
#include "support/temp_folder.h"
#include "export_fixture.h"
#include "python_check.h"

namespace vantrel::test {
namespace {

const std::string k_header_lines =
    "\"/data/survey/RUN_007.000\"\r\n"
    "\"Broadband 307.2 kHz\"\r\n"
    "\"Pings/Ens =\"\t60\r\n"
    "\"Time/Ping = 00:01.50\"\r\n"
    "\"First Ensemble Date = 24/05/01\"\r\n"
    "\"First Ensemble Time = 12:00:02.14\"\r\n"
    "\"Ensemble Interval (s) = \"\t1.50\r\n"
    "\"1st Bin Range (m) = \"\t3.25\r\n"
    "\"Bin Size (m) =\"\t0.50\r\n";

std::string Contour(Export_Fixture& f) {
    std::ostringstream out;
    Write_Contour_Text(f.job, out);
    return out.str();
}

TEST(Contour_Text, WholeFileWithABadVelocityAndNoFinalLineEnd) {
    Export_Fixture f;
    f.Choose_Contour(10, {"2", "4", "1"}, {1, 3});
    f.overrides[3] = [](Data_Set& ds) { ds.Sub_Vel(0, 2, 0) = k_bad_velocity; };

    const std::string expected = "\"Contour Data = Velocity East (u) mm/s\"\r\n" + k_header_lines +
                                 "\r\n"
                                 "\"Ens\"\t\"YR\"\t\"MO\"\t\"DA\"\t\"HH\"\t\"MM\"\t\"SS\"\t\"HH\"\t\t1\t3\r\n"
                                 "\r\n"
                                 "\r\n2\t24\t05\t01\t12\t00\t02\t14\t\t-500\t-498"
                                 "\r\n3\t24\t05\t01\t12\t00\t03\t21\t\t-400\t"
                                 "\r\n4\t24\t05\t01\t12\t00\t04\t28\t\t-300\t-298";
    EXPECT_EQ(Contour(f), expected);
    // Every ensemble is loaded alone: the header's ensemble, then each row's.
    const std::vector<std::pair<std::int32_t, std::int32_t>> loads{{2, 2}, {2, 2}, {3, 3}, {4, 4}};
    EXPECT_EQ(f.loads, loads);
    ASSERT_FALSE(f.percents.empty());
    EXPECT_EQ(f.percents.back(), 100);
}

TEST(Contour_Text, OrientationDecidesWhichBinAListPositionExports) {
    Export_Fixture f;
    f.Choose_Contour(0, {"6", "6", "1"}, {1, 2});
    // Mostly facing down, position 1 is the last bin; a tie counts as facing up.
    for (const auto& [orientation, first, second] : {std::tuple{1, 4, 3}, {0, 0, 1}}) {
        f.app.ds.Orientation_Count = orientation;
        const std::string text = Contour(f), last_row = text.substr(text.rfind("\r\n") + 2);
        EXPECT_EQ(last_row.substr(last_row.find("\t\t") + 1),
                  "\t" + std::to_string(Fake_Echo(6, 0, first)) + "\t" + std::to_string(Fake_Echo(6, 0, second)));
        EXPECT_NE(text.find("\"HH\"\t\t1\t2\r\n"), std::string::npos);  // headed by position, not bin
    }
}

TEST(Contour_Text, PositionsBeyondTheBinCountAndAnEmptySelectionGiveBareRows) {
    Export_Fixture f(3);
    f.sel.Contour_Range = {"2", "3", "1"};
    Export_Fixture::Select_Bins(f.sel.Contour_Bins, {4, 200});
    const std::string text = Contour(f);
    EXPECT_NE(text.find("\"HH\"\t\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.rfind("\r\n") + 2), "3\t24\t05\t01\t12\t00\t03\t21\t");
}

TEST(Contour_Text, RangeFieldsAreLimitedAndWrittenBackAndAStopEndsAfterTheCurrentEnsemble) {
    Export_Fixture f;  // file ensembles 1..20
    f.sel.Contour_Range = {"-5", "12.5", "999"};
    std::string text = Contour(f);
    // 12.5 halves to even.
    EXPECT_EQ(f.sel.Contour_Range.First + "," + f.sel.Contour_Range.Last + "," + f.sel.Contour_Range.Step, "1,12,20");
    EXPECT_EQ(f.loads.size(), 2u);  // header, then the single row of ensemble 1
    EXPECT_EQ(text.substr(text.rfind("\r\n") + 2, 2), "1\t");

    // First beyond Last: the header rows and no rows at all.
    f.loads.clear();
    f.sel.Contour_Range = {"15", "3", "1"};
    text = Contour(f);
    EXPECT_EQ(f.loads.size(), 1u);
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
    EXPECT_EQ(f.percents.back(), 100);

    // A stop ends after the current ensemble: the header load and two rows.
    f.loads.clear();
    f.sel.Contour_Range = {"1", "20", "1"};
    f.stop_after_loads = 3;
    text = Contour(f);
    EXPECT_EQ(f.loads.size(), 3u);
    EXPECT_EQ(text.substr(text.rfind("\r\n") + 2, 2), "2\t");
}

TEST(Text_Header, Year80LeavesTheYearOutAndFrequencyLabelsFollowTheStructure) {
    Export_Fixture f;
    f.overrides[2] = [](Data_Set& ds) { ds.Sub_Time(0, 0) = 80; };
    f.sel.Contour_Range = {"2", "2", "1"};
    EXPECT_NE(Contour(f).find("\"First Ensemble Date = 05/01\"\r\n"), std::string::npos);

    for (const auto& [structure, code, label] : {std::tuple{1, 5, "\"Narrowband 115.0 kHz\""},
                                                 {0, 5, "\"Unknown System Unknown Frequency\""},
                                                 {2, 7, "\"Broadband Unknown Frequency\""}}) {
        f.app.dec.Data_Structure = structure;
        f.app.dec.Sys_Config = 0x4240 | code;
        std::ostringstream out;
        Write_Text_Header(f.job, out);
        EXPECT_NE(out.str().find(std::string("\r\n") + label + "\r\n"), std::string::npos) << label;
    }
}

TEST(Profile_Text, RowsPerCheckedTypeWithPaddedLabels) {
    Export_Fixture f;
    f.app.ds.Whole_First_Ens = 3;
    f.sel.Profile_Ens = "1";
    for (int i : {0, 9, 13, 15, 19}) f.sel.Profile_Types[static_cast<std::size_t>(i)] = true;
    Export_Fixture::Select_Bins(f.sel.Profile_Bins, {1, 2});
    f.overrides[3] = [](Data_Set& ds) { ds.Sub_Vel(3, 1, 0) = k_bad_velocity; };
    std::ostringstream out;
    Write_Profile_Text(f.job, out);
    EXPECT_EQ(f.sel.Profile_Ens, "3");  // limited to the Whole Set's first ensemble

    auto num = [](int v) { return std::to_string(v); };
    const std::string expected =
        "\"Profile Data Ensemble Number = \"\t3\r\n" + k_header_lines.substr(0, k_header_lines.find("\"First")) +
        "\"First Ensemble Date = 24/05/01\"\r\n\"First Ensemble Time = 12:00:03.21\"\r\n" +
        k_header_lines.substr(k_header_lines.find("\"Ensemble Interval")) +
        "\r\n"
        "\t1\t2\r\n"
        "\r\n"
        "\"EA1 cnts\"\t" + num(Fake_Echo(3, 0, 0)) + "\t" + num(Fake_Echo(3, 0, 1)) + "\r\n"
        "\"CA cnts\"\t" + num(Fake_Corr(3, 4, 0)) + "\t" + num(Fake_Corr(3, 4, 1)) + "\r\n"
        "\"Err mm/s\"\t" + num(Fake_Vel(3, 3, 0)) + "\t\r\n"
        "\"Dir deg \"\t" + Format(Fake_Vel(3, 5, 0) / 10.0, "0.0") + "\t" + Format(Fake_Vel(3, 5, 1) / 10.0, "0.0") + "\r\n"
        "\"PG4 \"\t" + num(Fake_PGood(3, 3, 0)) + "\t" + num(Fake_PGood(3, 3, 1)) + "\r\n";
    EXPECT_EQ(out.str(), expected);

    // Without bins only the labels remain.
    f.sel.Profile_Bins = {};
    std::ostringstream bare;
    Write_Profile_Text(f.job, bare);
    EXPECT_NE(bare.str().find("\r\n\"EA1 cnts\"\r\n\"CA cnts\"\r\n"), std::string::npos);
}

// The four bottom-track depths of ensemble e, as the series file writes them in one cell.
std::string Depths(std::int32_t e) {
    std::string depths;
    for (int k = 0; k < 4; ++k) depths += Fix_String(std::to_string(4000 + 10 * k + e), ' ', 8);
    return depths;
}

// The series file read back with the csv module, cell by cell.
TEST(Series_Text, CellsReadBackWithTheCsvModule) {
    Export_Fixture f;
    f.sel.Series_Range = {"5", "9", "2"};
    f.sel.Anc_Types.fill(true);
    for (int t : {10, 15, 16, 20, 25, 32, 36, 37, 39}) f.sel.Series_Types[static_cast<std::size_t>(t)] = true;
    Export_Fixture::Select_Bins(f.sel.Series_Bins, {2, 5});
    f.overrides[7] = [](Data_Set& ds) {
        ds.Sub_BT_Vel(0, 0) = k_bad_velocity;
        ds.Sub_Vel(0, 4, 0) = k_bad_velocity;
        ds.Sub_Anc(0, 0) = -5;
    };

    Temp_Folder dir;
    std::ostringstream out;
    Write_Series_Text(f.job, out);
    const std::string path = dir.Path("series.txt");
    Write_File_Text(path, out.str());
    EXPECT_TRUE(out.str().ends_with("\r\n"));  // unlike the contour file

    bool ok = false;
    const auto rows = Read_Text_With_Csv(path, ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(rows.size(), 1u + 9 + 2 + 3 + 1 + 3);
    EXPECT_EQ(rows[0], std::vector<std::string>{"Series Data"});
    EXPECT_TRUE(rows[10].empty() && rows[11].empty() && rows[15].empty());

    const std::vector<std::string> names{"Ens", "YR",  "MO",  "DA",  "HH",  "MM",  "SS",  "HH",  "",
                                         "Pit", "Rol", "Hea", "Tem", "Dep", "Ori", "BIT", "Bat", "Eas",
                                         "Eas", "Dir", "Dir", "PG1", "PG1", "BTE", "BTD", "NVE", "    \"FLat\"",
                                         "    \"FLon\"", "    \"LLat\"", "    \"LLon\"", "MicroCAT",
                                         "   \"BD1\"   \"BD2\"   \"BD3\"   \"BD4\""};
    EXPECT_EQ(rows[12], names);
    std::vector<std::string> positions(17, "");
    for (int p : {2, 5, 2, 5, 2, 5}) positions.push_back(std::to_string(p));
    EXPECT_EQ(rows[14], positions);

    auto deg = [](std::int32_t stored) { return Fix_String(Format(stored * 180.0 / 2147483648.0, "0.00000000"), ' ', 10); };
    for (int r = 0; r < 3; ++r) {
        const std::int32_t e = 5 + 2 * r;
        const bool odd = e == 7;
        const auto n = [](int v) { return std::to_string(v); };
        // Clock, ancillary data, then per bin and per ensemble velocities, positions and text.
        const std::vector<std::string> expect{
            n(e), "24", "05", "01", "12", "00", Format(e, "00"), Format(e * 7 % 100, "00"), "",
            Format((odd ? -5 : -150 + e) / 100.0, "0.00"), "2.30", Format(e * 1000 % 36000 / 100.0, "0.00"), "12.34",
            Format((12345 + e) / 1000.0, "0.000"), "0", "0", "150",
            n(Fake_Vel(e, 0, 1)), odd ? "" : n(Fake_Vel(e, 0, 4)),
            Format(Fake_Vel(e, 5, 1) / 10.0, "0.00"), Format(Fake_Vel(e, 5, 4) / 10.0, "0.00"),
            n(Fake_PGood(e, 0, 1)), n(Fake_PGood(e, 0, 4)),
            odd ? "" : n(Fake_Ensemble_Vel(e, 0, 0)), Format(Fake_Ensemble_Vel(e, 0, 5) / 10.0, "0.00"),
            n(Fake_Ensemble_Vel(e, 3, 0)),
            deg(620000000 + e), deg(47721859 - e), deg(-620000000 - e), deg(-2147483647),
            "t=12.5 c=4.2 #" + n(e), Depths(e)};
        EXPECT_EQ(rows[16 + static_cast<std::size_t>(r)], expect) << "row of ensemble " << e;
    }
}

}  // namespace
}  // namespace vantrel::test
