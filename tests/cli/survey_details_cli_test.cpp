#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "support/test_files.h"
#include "nb_encoder.h"

namespace vantrel {
namespace {

using test::Bytes;
using test::Temp_Folder;

struct Run_Result {
    int exit_code = -1;
    std::string out;
};

Run_Result Run_Cli(const std::string& args, const std::string& err_file) {
    const char* cli = std::getenv("VANTREL_CLI");
    Run_Result r;
    if (cli == nullptr) return r;
    FILE* p = popen((std::string(cli) + " " + args + " 2>" + err_file).c_str(), "r");
    if (p == nullptr) return r;
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int status = pclose(p);
    r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::string Read_Text(const std::string& path) {
    std::string s;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[512];
        std::size_t n = 0;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
        std::fclose(f);
    }
    return s;
}

Bytes NB_Sequence(const std::vector<std::uint16_t>& numbers) {
    Bytes out;
    for (std::uint16_t n : numbers) {
        synth::NB_Ensemble_Values v;
        v.ens_number = n;
        v.num_bins = 2;
        v.velocity.assign(2, {10, 20, 30, 40});
        test::Append(out, synth::Encode_NB_Ensemble(v));
    }
    return out;
}

TEST(CliSurvey, PrintsTheInformationTextAndHonoursMultifile) {
    Temp_Folder dir;
    const std::string first = dir.Write("s.000", NB_Sequence({1, 2, 3}));
    dir.Write("s.001", NB_Sequence({4, 5}));
    const std::string err = dir.Path("err.txt");

    const Run_Result single = Run_Cli("survey " + first, err);
    ASSERT_EQ(single.exit_code, 0) << Read_Text(err);
    EXPECT_EQ(single.out.substr(0, first.size() + 2), first + "\r\n");
    EXPECT_NE(single.out.find("Last  Ensemble 00000003 01/01 00:00:00.00\r\n"), std::string::npos) << single.out;

    const Run_Result multi = Run_Cli("survey --multifile " + first, err);
    ASSERT_EQ(multi.exit_code, 0);
    EXPECT_NE(multi.out.find(" to " + dir.Path("s.001") + "\r\n"), std::string::npos) << multi.out;
    EXPECT_NE(multi.out.find("Last  Ensemble 00000005 "), std::string::npos);
}

TEST(CliSurvey, BadFilesExitOneWithTheProgramsMessage) {
    Temp_Folder dir;
    const std::string err = dir.Path("err.txt");
    const Run_Result missing = Run_Cli("survey " + dir.Path("nothing.ens"), err);
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_NE(Read_Text(err).find("Invalid File"), std::string::npos);

    const Run_Result junk = Run_Cli("survey " + dir.Write("junk.ens", Bytes(100, 1)), err);
    EXPECT_EQ(junk.exit_code, 1);
    EXPECT_NE(junk.out.find("Not enough VALID ensembles\r\n"), std::string::npos);
}

TEST(CliDetails, ReportThenSixStatistics) {
    Temp_Folder dir;
    const std::string path = dir.Write("d.dat", NB_Sequence({1, 2, 4, 4, 2, 3}));
    const std::string err = dir.Path("err.txt");
    const Run_Result r = Run_Cli("details " + path, err);
    ASSERT_EQ(r.exit_code, 0) << Read_Text(err);
    EXPECT_EQ(r.out.substr(0, 14), "File Size 546 ");
    const std::string tail = "Extra Data in File 273 bytes\r\n"
                             "First: 1\nLast: 3\nMissing: 1\nRepeats: 1\nResets: 1\nWrong Size: 0\n";
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail) << r.out;

    const Run_Result missing = Run_Cli("details " + dir.Path("gone.dat"), err);
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_NE(Read_Text(err).find("Invalid File"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
