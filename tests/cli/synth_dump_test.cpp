// vantrel-cli synth writes what the library writes, and dump reads damaged files through.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/dump_json.h"
#include "support/temp_folder.h"
#include "synth_writer.h"

namespace vantrel::test {
namespace {

TEST(Synth_Cli, CommandMatchesTheLibraryAndDumpSkipsTheDamage) {
    Temp_Folder dir;
    const std::string path = dir.Path("damaged.ens"), twin = dir.Path("twin.ens");
    const Cli_Result w = Run_Cli("synth " + Quoted(path) +
                                     " --ensembles 90 --bins 8 --seed 11 --navigation --text-block --garbage 700 "
                                     "--garbage-every 20 --bad-checksum-every 8 --drop-every 15 --truncate-last "
                                     "--long-records-every 30 --repeat-every 7 --reset-at 50",
                                 dir.Path(""));
    ASSERT_EQ(w.exit_code, 0) << w.err;

    const synth::Synth_Options opt = synth::Resolve_Options(
        {.ensembles = 90, .bins = 8, .navigation = true, .text_block = true, .seed = 11, .garbage = 700,
         .garbage_every = 20, .bad_checksum_every = 8, .drop_every = 15, .truncate_last = true,
         .long_records_every = 30, .repeat_every = 7, .reset_at = 50});
    const synth::Synth_Manifest m = synth::Write_Synth_File(twin, opt);
    EXPECT_EQ(Read_File_Text(path), Read_File_Text(twin)) << "the command and the library write the same bytes";
    EXPECT_EQ(w.out, synth::Synth_Summary_Line(m, opt, path) + "\n");

    const Cli_Result d = Run_Cli("dump " + Quoted(path), dir.Path(""));
    ASSERT_EQ(d.exit_code, 0) << d.err;
    std::vector<long long> dumped, expected;
    for (const auto& line : Json_Lines(d.out)) dumped.push_back(line["Sub_Ens_Number"].get<long long>());
    for (const auto& e : m.entries) {
        using synth::Record_Kind;
        if (e.kind == Record_Kind::Intact || e.kind == Record_Kind::Repeat) expected.push_back(e.number);
        if (e.kind == Record_Kind::Long_Record) expected.push_back(0);  // its variable leader is skipped
    }
    EXPECT_EQ(dumped, expected);
}

}  // namespace
}  // namespace vantrel::test
