#include <gtest/gtest.h>

#include <fstream>
#include <tuple>
#include <sstream>
#include <string>

#include "export/mat_export.h"
#include "support/temp_folder.h"
#include "export_fixture.h"
#include "python_check.h"

namespace vantrel::test {
namespace {

Mat_Contents Export_And_Load(Export_Fixture& f, void (*writer)(Export_Job&, std::ostream&)) {
    Temp_Folder dir;
    const std::string path = dir.Path("out.mat");
    std::ofstream out(path, std::ios::binary);
    writer(f.job, out);
    out.close();
    const Mat_Contents m = Load_Mat_With_Scipy(path);
    EXPECT_TRUE(m.ok) << m.raw;
    return m;
}

std::vector<std::string> Strings(std::initializer_list<std::int64_t> values) {
    std::vector<std::string> out;
    for (std::int64_t v : values) out.push_back(std::to_string(v));
    return out;
}

void Expect_Var(const Mat_Contents& m, const std::string& name, const std::string& kind, int rows, int cols,
                const std::vector<std::string>& values) {
    const auto it = m.vars.find(name);
    ASSERT_NE(it, m.vars.end()) << name << " missing; loader printed:\n" << m.raw;
    EXPECT_EQ(std::tie(it->second.kind, it->second.rows, it->second.cols, it->second.values), std::tie(kind, rows, cols, values)) << name;
}

void Expect_Text(const Mat_Contents& m, const std::string& name, const std::string& text) {
    Expect_Var(m, name, "text", 1, static_cast<int>(text.size()), {text});
}

const std::vector<std::string> k_header_names{"ORUFileName",    "ORUSystem",  "ORUPingsPerEns",
                                              "ORUSecPerPing",  "ORUEnsDate", "ORUEnsTime",
                                              "ORUEnsInterval", "ORUBin1Mid", "ORUBinSize"};

TEST(Contour_Mat, LoadsWithScipyRowsOfFirstLastStepAndRawVelocities) {
    Export_Fixture f;
    f.Choose_Contour(10, {"1", "10", "3"}, {1, 3});
    f.overrides[4] = [](Data_Set& ds) { ds.Sub_Vel(0, 2, 0) = k_bad_velocity; };
    const Mat_Contents m = Export_And_Load(f, Write_Contour_Mat);

    std::vector<std::string> order{"ConTitle"};
    order.insert(order.end(), k_header_names.begin(), k_header_names.end());
    for (const char* n : {"ConBins", "ConEnsembles", "ConYear", "ConMonth", "ConDay", "ConHour", "ConMin", "ConSec", "ConHund", "ConVel"})
        order.emplace_back(n);
    EXPECT_EQ(m.order, order);

    Expect_Text(m, "ConTitle", "Velocity East (u) mm/s");
    Expect_Text(m, "ORUFileName", "/data/survey/RUN_007.000");
    Expect_Text(m, "ORUSystem", "Broadband 307.2 kHz");
    Expect_Var(m, "ORUPingsPerEns", "int32", 1, 1, {"60"});
    Expect_Var(m, "ORUSecPerPing", "float32", 1, 1, {"1.5"});
    Expect_Text(m, "ORUEnsTime", "12:00:01.07");
    Expect_Var(m, "ORUBin1Mid", "float32", 1, 1, {"3.25"});
    Expect_Var(m, "ConBins", "uint8", 1, 2, {"1", "3"});
    Expect_Var(m, "ConEnsembles", "int32", 4, 1, Strings({1, 4, 7, 10}));
    Expect_Var(m, "ConHund", "uint8", 4, 1, Strings({7, 28, 49, 70}));
    Expect_Var(m, "ConVel", "int16", 4, 2,
               Strings({Fake_Vel(1, 0, 0), Fake_Vel(4, 0, 0), Fake_Vel(7, 0, 0), Fake_Vel(10, 0, 0), Fake_Vel(1, 0, 2),
                        -32768, Fake_Vel(7, 0, 2), Fake_Vel(10, 0, 2)}));
}

TEST(Contour_Mat, AStopKeepsThePlannedRowsAndFirstBeyondLastWritesEmptyVariables) {
    Export_Fixture f;
    f.Choose_Contour(2, {"1", "5", "1"}, {1});
    f.stop_after_loads = 3;  // header load and two rows
    Mat_Contents m = Export_And_Load(f, Write_Contour_Mat);
    Expect_Var(m, "ConEnsembles", "int32", 2, 1, Strings({1, 2}));
    Expect_Var(m, "ConEchoAmp", "uint8", 5, 1, Strings({Fake_Echo(1, 2, 0), Fake_Echo(2, 2, 0), 0, 0, 0}));
    EXPECT_EQ(f.percents.back(), 100);

    Export_Fixture g;
    g.Choose_Contour(10, {"9", "4", "1"}, {1, 2});
    m = Export_And_Load(g, Write_Contour_Mat);
    Expect_Var(m, "ORUPingsPerEns", "int32", 1, 1, {"60"});
    Expect_Var(m, "ConEnsembles", "int32", 0, 1, {});
    Expect_Var(m, "ConHund", "uint8", 0, 1, {});
    Expect_Var(m, "ConVel", "int16", 0, 2, {});
}

TEST(Profile_Mat, OneRowPerCheckedType) {
    Export_Fixture f;
    f.sel.Profile_Ens = "6abc";
    for (int i : {3, 4, 8, 12, 16}) f.sel.Profile_Types[static_cast<std::size_t>(i)] = true;
    Export_Fixture::Select_Bins(f.sel.Profile_Bins, {2, 4});
    const Mat_Contents m = Export_And_Load(f, Write_Profile_Mat);
    EXPECT_EQ(m.order.size(), 1 + k_header_names.size() + 6);
    Expect_Var(m, "ORUProfileEns", "int32", 1, 1, {"6"});
    Expect_Var(m, "ProVmmpersec", "int16", 1, 2, Strings({Fake_Vel(6, 2, 1), Fake_Vel(6, 2, 3)}));
    Expect_Var(m, "ProPG1", "uint8", 1, 2, Strings({Fake_PGood(6, 0, 1), Fake_PGood(6, 0, 3)}));
}

TEST(Series_Mat, EveryVariableKindMatchesTheDataSet) {
    Export_Fixture f;
    f.sel.Series_Range = {"2", "4", "1"};
    f.sel.Anc_Types.fill(true);
    for (int t : {0, 9, 13, 15, 19, 20, 25, 26, 31, 32, 35, 36, 37, 39}) f.sel.Series_Types[static_cast<std::size_t>(t)] = true;
    Export_Fixture::Select_Bins(f.sel.Series_Bins, {1, 4});
    f.overrides[3] = [](Data_Set& ds) {
        ds.Sub_Anc(2, 0) = 27000;  // 270 degrees
        ds.Sub_Anc(6, 0) = -1;
        ds.Sub_BT_Vel(0, 0) = k_bad_velocity;
    };
    f.overrides[4] = [](Data_Set& ds) { ds.Sub_Anc(2, 0) = 17999; };
    f.overrides[2] = [](Data_Set& ds) { ds.Sub_Anc(2, 0) = 18000; };
    const Mat_Contents m = Export_And_Load(f, Write_Series_Mat);

    std::vector<std::string> order = k_header_names;
    for (const char* n :
         {"SerBins", "SerEnsembles", "SerYear", "SerMon", "SerDay", "SerHour", "SerMin", "SerSec", "SerHund",
          "AnP100thDeg", "AnR100thDeg", "AnH100thDeg", "AnT100thDeg", "AnDepthmm", "AnOrienUP", "AnBIT", "AnBatt",
          "SerEA1cnt", "SerCAcnt", "SerErmmpersec", "SerDir10thDeg", "SerPG4", "AnBTEmmpersec", "AnBTDir10thDeg",
          "AnWMEmmpersec", "AnWMDir10thDeg", "AnNVEmmpersec", "AnNVDir10thDeg", "AnFLatDeg", "AnFLonDeg", "AnLLatDeg",
          "AnLLonDeg", "AnBTDepthcmB1", "AnBTDepthcmB2", "AnBTDepthcmB3", "AnBTDepthcmB4"})
        order.emplace_back(n);
    EXPECT_EQ(m.order, order);

    Expect_Var(m, "SerBins", "uint8", 1, 2, {"1", "4"});
    Expect_Var(m, "SerEnsembles", "int32", 3, 1, Strings({2, 3, 4}));
    Expect_Var(m, "AnP100thDeg", "int16", 3, 1, Strings({-148, -147, -146}));
    Expect_Var(m, "AnH100thDeg", "int16", 3, 1, Strings({-18000, -9000, 17999}));
    Expect_Var(m, "AnDepthmm", "int32", 3, 1, Strings({12347, 12348, 12349}));
    Expect_Var(m, "AnBIT", "uint16", 3, 1, Strings({0, 65535, 0}));
    Expect_Var(m, "AnBTEmmpersec", "int16", 3, 1, Strings({Fake_Ensemble_Vel(2, 0, 0), -32768, Fake_Ensemble_Vel(4, 0, 0)}));
    // Degrees exactly as stored: the loader prints enough digits to read back the same double.
    const auto& lat = m.vars.at("AnFLatDeg");
    ASSERT_EQ((std::pair{lat.kind, lat.values.size()}), (std::pair{std::string("float64"), std::size_t{3}}));
    EXPECT_EQ(std::strtod(lat.values[1].c_str(), nullptr), 620000003 * 180.0 / 2147483648.0);
    EXPECT_EQ(std::strtod(m.vars.at("AnLLonDeg").values[0].c_str(), nullptr), -2147483647 * 180.0 / 2147483648.0);
}

TEST(Series_Mat, CarriedPositionsNoBinsAndAStop) {
    Export_Fixture f;
    f.sel.Series_Range = {"1", "20", "1"};
    for (int t : {10, 33, 36, 37, 38}) f.sel.Series_Types[static_cast<std::size_t>(t)] = true;
    f.sel.Anc_Types[4] = true;
    f.stop_after_loads = 4;  // header load and three rows
    const Mat_Contents m = Export_And_Load(f, Write_Series_Mat);
    EXPECT_EQ(m.vars.count("SerEmmpersec") + m.vars.count("AnFLatDeg"), 0u);  // no bin selected: no per-bin variables
    Expect_Var(m, "SerBins", "uint8", 1, 1, {"0"});
    Expect_Var(m, "SerEnsembles", "int32", 3, 1, Strings({1, 2, 3}));
    Expect_Var(m, "AnDepthmm", "int32", 3, 1, Strings({12346, 12347, 12348}));
    Expect_Var(m, "AnNVNmmpersec", "int16", 3, 1,
               Strings({Fake_Ensemble_Vel(1, 2, 1), Fake_Ensemble_Vel(2, 2, 1), Fake_Ensemble_Vel(3, 2, 1)}));
    ASSERT_EQ(m.vars.count("AnCLLonDeg"), 1u);
    EXPECT_EQ(m.vars.at("AnCLLonDeg").rows, 3);
    EXPECT_EQ(m.order.back(), "AnCLLonDeg");  // MicroCAT writes nothing
}

}  // namespace
}  // namespace vantrel::test
