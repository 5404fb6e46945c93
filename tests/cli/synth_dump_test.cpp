// vantrel-cli synth writes what the scenario says, and dump prints it back.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/binary_file.h"
#include "support/json_values.h"
#include "synth_writer.h"

namespace vantrel::cli::test {
namespace {

using synth::Synth_Ensemble;
using synth::Synth_Options;
using vantrel::test::Integers;
using vantrel::test::Lines;
using vantrel::test::Value_Of;

struct Run_Result {
    int exit_code = -1;
    std::string out, err;
};

std::string Temp_Path(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "vantrel_cli_" + info->name() + "_" + name;
}

std::string Read_Text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs vantrel-cli with arguments given as one shell-quoted string.
Run_Result Run_Cli(const std::string& args) {
    const char* cli = std::getenv("VANTREL_CLI");
    if (!cli) {
        ADD_FAILURE() << "VANTREL_CLI is not set";
        return {};
    }
    const std::string out_path = Temp_Path("stdout.txt"), err_path = Temp_Path("stderr.txt");
    const std::string command = std::string("'") + cli + "' " + args + " >'" + out_path + "' 2>'" + err_path + "'";
    const int status = std::system(command.c_str());
    Run_Result r;
    r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = Read_Text(out_path);
    r.err = Read_Text(err_path);
    std::remove(out_path.c_str());
    std::remove(err_path.c_str());
    return r;
}

// A count of the summary line: the number before "records" and "intact ensembles",
// after every other label.
long long Summary_Count(const std::string& summary, const std::string& label) {
    const bool before = label == "records" || label == "intact ensembles";
    const auto at = summary.find(before ? " " + label : label + " ");
    if (at == std::string::npos) {
        ADD_FAILURE() << "no '" << label << "' in " << summary;
        return -1;
    }
    std::size_t digits = before ? at : at + label.size() + 1;
    if (before) {
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(summary[digits - 1]))) --digits;
    }
    return std::stoll(summary.substr(digits));
}

TEST(Synth_Cli, DumpPrintsTheScenarioValues) {
    const std::string path = Temp_Path("values.ens");
    const Run_Result w = Run_Cli("synth '" + path +
                                 "' --ensembles 6 --bins 20 --bottom-depth 18 --bottom-track --seed 3 "
                                 "--first-number 65534 --start '2023-12-31 23:59:58' --interval 0.5 --noise 40");
    ASSERT_EQ(w.exit_code, 0) << w.err;
    EXPECT_NE(w.out.find("wrote 6 records (6 intact ensembles"), std::string::npos) << w.out;

    const Synth_Options opt = synth::Resolve_Options({.ensembles = 6, .bins = 20, .bottom_track = true, .interval = 0.5,
                                                      .start = {2023, 12, 31, 23, 59, 58}, .first_number = 65534,
                                                      .seed = 3, .noise = 40, .bottom_depth = 18});

    const Run_Result d = Run_Cli("dump --raw '" + path + "'");
    ASSERT_EQ(d.exit_code, 0) << d.err;
    const auto lines = Lines(d.out);
    ASSERT_EQ(lines.size(), 6u);
    auto e = std::make_unique<Synth_Ensemble>();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        synth::Fill_Synth_Ensemble(opt, static_cast<std::int64_t>(i), *e);
        const std::string& line = lines[i];
        EXPECT_EQ(Integers(Value_Of(line, "Sub_Ens_Number")), std::vector<long long>{65534 + static_cast<long long>(i)});
        const auto time = Integers(Value_Of(line, "Sub_Time"));
        EXPECT_EQ(time, std::vector<long long>(e->clock.begin(), e->clock.end()));
        const auto vel = Integers(Value_Of(line, "Sub_Vel"));
        ASSERT_EQ(vel.size(), 20u * 8);
        for (std::size_t bin : {0u, 3u, 10u, 19u}) {
            const std::size_t cell = 19 - bin;  // facing down: bin 0 is the farthest cell
            for (std::size_t b = 0; b < 4; ++b) EXPECT_EQ(vel[bin * 8 + b], e->vel[cell][b]) << "bin " << bin;
        }
        const auto bt = Integers(Value_Of(line, "Sub_BT_Vel"));
        ASSERT_EQ(bt.size(), 6u);
        for (std::size_t b = 0; b < 4; ++b) EXPECT_EQ(bt[b], -e->bt_vel[b]);
    }
    // The first ensemble's clock, and the last one's after the new year.
    EXPECT_EQ(Integers(Value_Of(lines[0], "Sub_Time")), (std::vector<long long>{23, 12, 31, 23, 59, 58, 0}));
    EXPECT_EQ(Integers(Value_Of(lines[5], "Sub_Time")), (std::vector<long long>{24, 1, 1, 0, 0, 0, 50}));
    // The cells past an 18 m bottom are bad and print as a plain integer.
    EXPECT_NE(lines[0].find("\"Sub_Vel\":[[-32768,-32768,-32768,-32768,"), std::string::npos);
    EXPECT_EQ(d.out.find("-32768."), std::string::npos);
    std::remove(path.c_str());
}

TEST(Synth_Cli, SummaryAndDumpAgreeWithTheManifestUnderDamage) {
    const std::string path = Temp_Path("damaged.ens"), twin = Temp_Path("twin.ens");
    const Run_Result w = Run_Cli("synth '" + path +
                                 "' --ensembles 90 --bins 8 --seed 11 --navigation --text-block --garbage 700 "
                                 "--garbage-every 20 --bad-checksum-every 8 --drop-every 15 --truncate-last "
                                 "--long-records-every 30 --repeat-every 7 --reset-at 50");
    ASSERT_EQ(w.exit_code, 0) << w.err;

    const Synth_Options opt = synth::Resolve_Options(
        {.ensembles = 90, .bins = 8, .navigation = true, .text_block = true, .seed = 11, .garbage = 700,
         .garbage_every = 20, .bad_checksum_every = 8, .drop_every = 15, .truncate_last = true,
         .long_records_every = 30, .repeat_every = 7, .reset_at = 50});
    const synth::Synth_Manifest m = synth::Write_Synth_File(twin, opt);
    EXPECT_EQ(Read_Text(path), Read_Text(twin)) << "the command and the library write the same bytes";
    EXPECT_EQ(w.out, synth::Synth_Summary_Line(m, opt, path) + "\n");

    const synth::Synth_Counts c = synth::Count_Manifest(m);
    EXPECT_EQ(Summary_Count(w.out, "records"), c.records);
    EXPECT_EQ(Summary_Count(w.out, "intact ensembles"), c.intact);
    EXPECT_EQ(Summary_Count(w.out, "garbage"), 700 * (1 + 4 + 1));
    EXPECT_EQ(Summary_Count(w.out, "dropped"), 5);  // the 90th is cut short instead
    EXPECT_EQ(Summary_Count(w.out, "truncated last"), 1);
    EXPECT_EQ(Summary_Count(w.out, "long records"), 2);  // after the 30th and 60th, though both were dropped
    EXPECT_EQ(Summary_Count(w.out, "reset at"), 50);

    const Run_Result d = Run_Cli("dump '" + path + "'");
    ASSERT_EQ(d.exit_code, 0) << d.err;
    std::vector<long long> dumped, expected;
    for (const std::string& line : Lines(d.out)) dumped.push_back(Integers(Value_Of(line, "Sub_Ens_Number")).at(0));
    for (const auto& e : m.entries) {
        using synth::Record_Kind;
        if (e.kind == Record_Kind::Intact || e.kind == Record_Kind::Repeat) expected.push_back(e.number);
        if (e.kind == Record_Kind::Long_Record) expected.push_back(0);  // its variable leader is skipped
    }
    EXPECT_EQ(dumped, expected);
    EXPECT_EQ(static_cast<long long>(dumped.size()), c.intact + c.long_records);
    std::remove(path.c_str());
    std::remove(twin.c_str());
}

TEST(Synth_Cli, BadArgumentsFailWithOneLine) {
    const std::string path = Temp_Path("never.ens");
    const std::vector<std::string> bad = {"", "--bins 0", "--facing sideways", "--coords ship", "--beam-angle 25",
                                          "--start '2024-13-01 00:00:00'", "--ensembles many", "--wobble"};
    for (const std::string& options : bad) {
        const std::string args = options.empty() ? "synth" : "synth '" + path + "' " + options;
        const Run_Result r = Run_Cli(args);
        EXPECT_EQ(r.exit_code, 1) << args;
        EXPECT_EQ(Lines(r.err).size(), 1u) << args << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << args;
    }
    EXPECT_FALSE(File_Exists(path));
}

}  // namespace
}  // namespace vantrel::cli::test
