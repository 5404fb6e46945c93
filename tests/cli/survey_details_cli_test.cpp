// survey and details from the command line: the program's texts and its exit codes.
#include <gtest/gtest.h>

#include "nb_encoder.h"
#include "support/cli_run.h"
#include "support/temp_folder.h"
#include "support/bb_builder.h"

namespace vantrel::test {
namespace {

Bytes NB_Sequence(const std::vector<std::uint16_t>& numbers) {
    Bytes out;
    for (std::uint16_t n : numbers) {
        synth::NB_Ensemble_Values v;
        v.ens_number = n;
        v.num_bins = 2;
        v.velocity.assign(2, {10, 20, 30, 40});
        Append(out, synth::Encode_NB_Ensemble(v));
    }
    return out;
}

TEST(Cli_Survey, PrintsTheInformationTextAndHonoursMultifile) {
    Temp_Folder dir;
    const std::string first = dir.Write("s.000", NB_Sequence({1, 2, 3}));
    dir.Write("s.001", NB_Sequence({4, 5}));
    const Cli_Result single = Run_Cli("survey " + Quoted(first), dir.Path(""));
    EXPECT_NE(single.out.find("Last  Ensemble 00000003 01/01 00:00:00.00\r\n"), std::string::npos) << single.out;
    const Cli_Result multi = Run_Cli("survey --multifile " + Quoted(first), dir.Path(""));
    ASSERT_EQ(multi.exit_code, 0) << multi.err;
    EXPECT_EQ(multi.out.rfind(first + " to " + dir.Path("s.001") + "\r\n", 0), 0u) << multi.out;
    EXPECT_NE(multi.out.find("Last  Ensemble 00000005 "), std::string::npos);
}

TEST(Cli_Details, ReportThenSixStatistics) {
    Temp_Folder dir;
    const std::string path = dir.Write("d.dat", NB_Sequence({1, 2, 4, 4, 2, 3}));
    const Cli_Result r = Run_Cli("details " + Quoted(path), dir.Path(""));
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 14), "File Size 546 ");
    const std::string tail = "Extra Data in File 273 bytes\r\n"
                             "First: 1\nLast: 3\nMissing: 1\nRepeats: 1\nResets: 1\nWrong Size: 0\n";
    EXPECT_TRUE(r.out.ends_with(tail)) << r.out;

    // A file without an ensemble still gets its report, and fails.
    const Cli_Result none = Run_Cli("details " + Quoted(dir.Write("none.dat", Bytes(5000, 0x41))), dir.Path(""));
    EXPECT_EQ(none.exit_code, 1);
    EXPECT_NE(none.out.find("Data Structure Unknown "), std::string::npos) << none.out;
    EXPECT_NE(none.err.find("Not enough VALID ensembles"), std::string::npos) << none.err;
}

}  // namespace
}  // namespace vantrel::test
