// Every command reads options one way: non-numbers, NaN, infinity, values out of range and
// unknown names are refused with one line naming the option, and nothing is written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/cli_run.h"
#include "support/temp_folder.h"
#include "synth_writer.h"

namespace vantrel::test {
namespace {

struct Refused_Case {
    std::string args;  // FILE and OUT stand for the synthetic file and an output in the folder
    std::string says;  // part of the one error line
};

std::string Expand(std::string args, const std::string& file, const std::string& out) {
    for (const auto& [key, value] : {std::pair<std::string, std::string>{"FILE", file}, {"OUT", out}})
        if (const std::size_t at = args.find(key); at != std::string::npos) args.replace(at, key.size(), value);
    return args;
}

TEST(Bad_Options, RefusedAlikeByEveryCommand) {
    if (!std::getenv("VANTREL_CLI")) GTEST_SKIP() << "VANTREL_CLI not set";
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
        EXPECT_FALSE(std::filesystem::exists(out)) << c.args;
    }
}

}  // namespace
}  // namespace vantrel::test
