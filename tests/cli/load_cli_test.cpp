// vantrel-cli load, survey and details open as the program does; synth writes file sets;
// every command refuses bad options alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include "nb_encoder.h"
#include "support/bb_builder.h"
#include "support/cli_run.h"
#include "support/temp_folder.h"
#include "synth_writer.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

// Whether the report holds the whole line given.
bool Has_Line(const std::string& report, const std::string& line) { return ("\n" + report).find("\n" + line + "\n") != std::string::npos; }

int Lines_Starting(const std::string& text, const std::string& start) {
    std::istringstream in(text);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) n += line.rfind(start, 0) == 0 ? 1 : 0;
    return n;
}

TEST(Cli_Load, ReportsTheOpenAndReloadsARange) {
    Temp_Folder dir;
    const std::string file = dir.Path("a.ens");
    synth::Write_Synth_File(file, {.ensembles = 1000, .bins = 12});
    const auto r = Run_Cli("load --max-whole 1000 " + Quoted(file), dir.Path(""));
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_NE(r.out.find("Average Ensemble Interval 00:00:01.00\r\n"), std::string::npos);
    for (const auto& [name, value] : {std::pair{"Ens_Step", "1"}, {"Whole_Count", "500"}, {"Last_Ens", "256"}, {"File_Loaded", "true"}})
        EXPECT_TRUE(Has_Line(r.out, std::string(name) + ": " + value)) << name << "\n" << r.out;

    const auto range = Run_Cli("load --max-sub 128 --first 101 --last 150 --dump-sub --dump-whole " + Quoted(file), dir.Path(""));
    ASSERT_EQ(range.exit_code, 0) << range.err;
    // Ens_Step 3 for the Whole Set: 1, 5, ..., 997.
    for (const auto& [name, value] : {std::pair{"First_Ens", "101"}, {"Sub_Count", "50"}, {"Whole_Count", "250"}})
        EXPECT_TRUE(Has_Line(range.out, std::string(name) + ": " + value)) << name << "\n" << range.out;
    EXPECT_EQ((std::pair{Lines_Starting(range.out, "{\"Sub_Ens_Number\":"), Lines_Starting(range.out, "{\"Whole_Time\":")}), (std::pair{50, 250}));
    EXPECT_NE(range.out.find("{\"Sub_Ens_Number\":101,"), std::string::npos);

    // A range past the last ensemble loads nothing: a failure, for render too.
    for (const std::string& command : {std::string("load"), "render --view sub -o " + Quoted(dir.Path("past.png"))}) {
        const auto past = Run_Cli(command + " --first 1001 --last 1010 " + Quoted(file), dir.Path(""));
        EXPECT_EQ(past.exit_code, 1) << command;
        EXPECT_NE(past.err.find("Ensemble 1001 is not in the file"), std::string::npos) << past.err;
    }
    EXPECT_FALSE(fs::exists(dir.Path("past.png")));
}

// Fewer than two ensembles is a failed open, said and exited as one, not a report of success.
TEST(Cli_Load, AFileOfOneEnsembleFailsAsAFileWithoutAny) {
    Temp_Folder dir;
    const std::string file = dir.Path("one.ens");
    synth::Write_Synth_File(file, {.ensembles = 1, .bins = 12});
    const auto r = Run_Cli("load " + Quoted(file), dir.Path(""));
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_TRUE(Has_Line(r.out, "Not enough VALID ensembles\r")) << r.out;
    EXPECT_NE(r.err.find("Not enough VALID ensembles"), std::string::npos) << r.err;
}

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

TEST(Synth_Set_Cli, WritesTheMembersAndRefusesWhatAFileCannotHold) {
    const Temp_Folder folder;
    const fs::path dir = folder.Path();
    const Cli_Result numbered = Run_Cli("synth " + Quoted(dir / "s.010") + " --ensembles 10 --bins 3 --split-every 4", dir);
    ASSERT_EQ(numbered.exit_code, 0) << numbered.err;
    EXPECT_NE(numbered.out.find("; 3 files, " + (dir / "s.010").string() + " to " + (dir / "s.012").string() + "\n"),
              std::string::npos)
        << numbered.out;
    EXPECT_EQ(fs::file_size(dir / "s.010"), 2 * fs::file_size(dir / "s.012"));

    const Cli_Result acquisition = Run_Cli("synth " + Quoted(dir / "RUN001_000003.ENR") +
                                               " --structure nb --ensembles 10 --bins 3 --split-every 5 --acquisition-set",
                                           dir);
    ASSERT_EQ(acquisition.exit_code, 0) << acquisition.err;
    EXPECT_TRUE(fs::exists(dir / "RUN001_000004.ENR"));

    // Sets named wrongly, and narrowband shapes the format cannot carry.
    for (const std::string bad : {"x.ens --split-every 4", "x.000 --acquisition-set", "x.000 --split-every -1",
                                  "x_000001.ens --split-every 4 --acquisition-set", "x.ens --structure nb --bin-size 0.5",
                                  "x.ens --structure nb --bin-size 3", "x.ens --structure nb --navigation",
                                  "x.ens --structure nb --flow-meter", "x.ens --structure nb --text-block",
                                  "x.ens --structure nb --first-number 70000", "x.ens --structure nb --nb-frequency 8",
                                  "x.ens --structure nb --nb-bit7-clear --facing up"}) {
        const Cli_Result r = Run_Cli("synth " + Quoted(dir) + "/" + bad, dir);
        EXPECT_EQ(r.exit_code, 1) << bad;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << bad << ": " << r.err;
        EXPECT_FALSE(fs::exists(dir / "x.ens")) << bad;
    }
}

struct Refused_Case {
    std::string args;  // FILE and OUT stand for the synthetic file and an output in the folder
    std::string says;  // part of the one error line
};

std::string Expand(std::string args, const std::string& file, const std::string& out) {
    for (const auto& [key, value] : {std::pair<std::string, std::string>{"FILE", file}, {"OUT", out}})
        if (const std::size_t at = args.find(key); at != std::string::npos) args.replace(at, key.size(), value);
    return args;
}

// Every command reads options one way: non-numbers, NaN, infinity, values out of range and
// unknown names are refused with one line naming the option, and nothing is written.
TEST(Bad_Options, RefusedAlikeByEveryCommand) {
    Temp_Folder dir;
    const std::string file = dir.Path("file.ens");
    synth::Write_Synth_File(file, {.ensembles = 50, .bins = 4});
    const Refused_Case cases[] = {
        {"load FILE --vel-scale nan", "--vel-scale"},
        {"load FILE --vel-scale inf", "--vel-scale"},
        {"dump FILE --bt-vel-scale 1e308", "--bt-vel-scale"},
        {"load FILE --first abc", "--first"},
        {"load FILE --last 99999999", "--last"},
        {"dump FILE --first 0", "--first"},
        {"dump FILE --count -5", "--count"},
        {"render FILE --view whole -o OUT --scale-mode -2147483648", "--scale-mode"},
        {"render FILE --view whole -o OUT --size 1e308x200", "--size"},
        {"render FILE --view sub -o OUT --cursor nan", "--cursor"},
        {"render FILE --view profile -o OUT --cursor 5000", "--cursor"},
        {"render FILE --view side -o OUT", "--view"},
        {"render FILE --view whole -o OUT --size 640", "--size"},
        {"render FILE --view whole -o OUT --size 0x400", "--size"},
        {"render FILE --view whole -o OUT --size 640x40000", "--size"},
        {"render FILE --view whole -o OUT --code 7", "--code"},
        {"render FILE --view whole -o OUT --scale-mode 5", "--scale-mode"},
        {"render FILE --view series -o OUT --series 99", "--series"},
        {"render FILE --view whole", "-o OUT.png is required"},
        {"render none.ens --view whole -o OUT", "Invalid File"},
        {"export FILE -o OUT --kind contour --first abc", "--first"},
        {"export FILE -o OUT --kind profile --ensemble 99999999", "--ensemble"},
        {"export FILE -o OUT --kind series --step 0", "--step"},
        {"convert FILE OUT --deflate nan", "--deflate"},
        {"convert FILE OUT --first -1", "--first"},
        {"save-range FILE OUT --first 5 --last 1", "--first is after --last"},
        {"save-range FILE OUT --first 1 --last 51", "not in the file"},
        {"save-range FILE OUT --first 0 --last 3", "not in the file"},
        {"synth OUT --interval nan", "--interval"},
        {"dump FILE --ref sideways", "--ref"},
        {"dump FILE --eop bt,sideways", "--eop"},
        {"dump FILE --settings OUT", "cannot read settings file"},
        {"settings", "nothing to do"},
        {"dump FILE --count 1 --count=2", "--count given twice"},
        {"load FILE --multifile --multifile", "--multifile given twice"},
    };
    for (const Refused_Case& c : cases) {
        const std::string out = dir.Path("out.bin");
        const Cli_Result r = Run_Cli(Expand(c.args, Quoted(file), Quoted(out)), dir.Path());
        EXPECT_EQ(r.exit_code, 1) << c.args;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << c.args << ": " << r.err;
        EXPECT_FALSE(fs::exists(out)) << c.args;
    }
}

}  // namespace
}  // namespace vantrel::test
