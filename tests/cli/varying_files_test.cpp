// Files of today's instruments (lengths that vary, foreign records, a set-up that changes),
// alone and with damage: every reader sees what synth's manifest says was written.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app_state.h"
#include "decode/file_details.h"
#include "decode/file_survey.h"
#include "loading/file_loading.h"
#include "loading/save_range.h"
#include "platform/text_format.h"
#include "support/cli_run.h"
#include "support/dump_json.h"
#include "support/expect_fields.h"
#include "support/temp_folder.h"
#include "synth_writer.h"

namespace vantrel::test {
namespace {

using synth::Record_Kind;
using synth::Synth_Options;

struct Varying_Case {
    const char* name;
    Synth_Options opt;
    bool gap;  // a stretch longer than a search's skip limit
};

// Numbers of the ensembles a scanner finds, in file order.
std::vector<long long> Found_Numbers(const synth::Synth_Manifest& m) {
    std::vector<long long> out;
    for (const auto& e : m.entries) {
        if (e.kind == Record_Kind::Intact || e.kind == Record_Kind::Repeat) out.push_back(e.number);
    }
    return out;
}

// Ensemble numbers of a dump, one per line.
std::vector<long long> Dumped(const std::string& out) {
    std::vector<long long> numbers;
    for (const auto& line : Json_Lines(out)) numbers.push_back(line.at("Sub_Ens_Number").get<long long>());
    return numbers;
}

class Varying_File : public ::testing::TestWithParam<Varying_Case> {
protected:
    void SetUp() override {
        opt = synth::Resolve_Options(GetParam().opt);
        path = dir.Path("file.ens");
        m = synth::Write_Synth_File(path, opt);
        found = Found_Numbers(m);
    }
    bool Varies() const { return opt.vary_length || opt.setup_change_at > 0; }

    Temp_Folder dir;
    Synth_Options opt;
    std::string path;
    synth::Synth_Manifest m;
    std::vector<long long> found;
};

TEST_P(Varying_File, SurveyAndDetailsTellTheTruth) {
    App_State app;
    ASSERT_TRUE(Show_File_Stats(app, path, No_Progress())) << app.Info_Text;
    const std::string& text = app.Info_Text;
    EXPECT_EQ(text.find("Missing Ensembles"), std::string::npos) << text;
    EXPECT_EQ(text.find(k_lengths_vary_text) != std::string::npos, Varies()) << text;
    if (Varies()) {
        EXPECT_EQ(app.ds.File_Last_Ens, found.back());  // one length: estimated from the size
    }

    const auto r = Show_File_Details(path, app.dec, Decode_Options_Of(app), nullptr, No_Progress());
    const synth::Synth_Counts c = synth::Count_Manifest(m);
    EXPECT_EQ(r.report.find("Extra Data in File -"), std::string::npos) << r.report;
    Expect_Fields({{"first", r.stats.First, found.front()}, {"last", r.stats.Last, found.back()}, {"missing", r.stats.Missing, c.dropped},
                   {"repeats", r.stats.Repeats, c.repeats}, {"resets", r.stats.Resets, opt.reset_at > 0 ? 1 : 0}});
    const std::string change = "Set-Up Changes at Ensemble " + Format(static_cast<double>(opt.setup_change_at), "00000000");
    EXPECT_EQ(r.report.find(change) != std::string::npos, opt.setup_change_at > 0) << r.report;
}

TEST_P(Varying_File, DumpSeesEveryEnsembleAndNamesTheGaps) {
    const Cli_Result d = Run_Cli("dump --raw " + Quoted(path), dir.Path(""));
    ASSERT_EQ(d.exit_code, 0) << d.err;
    EXPECT_EQ(Dumped(d.out), found);
    EXPECT_EQ(d.err.find("passed over") != std::string::npos, GetParam().gap) << d.err;
}

TEST_P(Varying_File, SaveRangeAndSubSetTakeExactlyTheEnsemblesAsked) {
    App_State app;
    Open_File_Host host;
    ASSERT_EQ(Open_File(app, host, path), Outcome_Kind::k_ok);
    // A range well inside the file whose ends are there: from the 98th to the 108th found.
    const auto first = found[97], last = found[107];
    ASSERT_LT(first, last);
    ASSERT_NE(found[96], first) << "a repeated first ensemble would be copied twice";
    const std::string out = dir.Path("range.ens");
    ASSERT_EQ(Save_Ensemble_Range(app, out, static_cast<std::int32_t>(first), static_cast<std::int32_t>(last)), Outcome_Kind::k_ok);
    const Cli_Result d = Run_Cli("dump --raw " + Quoted(out), dir.Path(""));
    EXPECT_EQ(Dumped(d.out), std::vector<long long>(found.begin() + 97, found.begin() + 108));

    // The Sub Set starts at the ensemble asked: foreign records between ensembles of one length
    // used to start it several ensembles early. Two thirds in, where a position from any one
    // length has drifted by several ensembles.
    const auto k = found.size() * 2 / 3;
    ASSERT_NE(found[k - 1], found[k]);
    const auto start = static_cast<std::int32_t>(found[k]);
    ASSERT_TRUE(Read_File_Selection(app, host, start, start + 5, false));
    EXPECT_EQ((std::pair<long long, long long>{app.ds.First_Ens, app.ds.Sub_Ens_Number(1)}), (std::pair{static_cast<long long>(start), found[k + 1]}));
}

// The cell count grows or shrinks inside the Sub Set: every chart and export stays in bounds
// (the sanitizer build runs this too).
TEST_P(Varying_File, ChartsAndExportsSpanTheSetupChange) {
    if (opt.setup_change_at == 0) GTEST_SKIP() << "one set-up";
    const std::string in = Quoted(path) + " ", range = " --first " + std::to_string(opt.setup_change_at - 30) +
                                                      " --last " + std::to_string(opt.setup_change_at + 30);
    std::vector<std::string> commands{"convert " + in + Quoted(dir.Path("all.nc"))};
    for (const std::string view : {"whole", "subwindow"})
        commands.push_back("render " + in + "--view " + view + " --size 320x240 -o " + Quoted(dir.Path(view + ".png")) + range);
    for (const std::string kind : {"contour", "series", "profile"})
        commands.push_back("export " + in + "-o " + Quoted(dir.Path(kind + ".mat")) + " --format mat --kind " + kind + range);
    for (const std::string& command : commands) {
        const Cli_Result r = Run_Cli(command, dir.Path(""));
        EXPECT_EQ(r.exit_code, 0) << command << ": " << r.err;
    }
}

const Varying_Case k_cases[] = {
    {"VaryingLength", {.ensembles = 444, .vary_length = true}, false},
    {"ForeignRecords", {.ensembles = 300, .foreign_every = 100, .foreign_bytes = 48000}, true},
    {"SetupChange", {.ensembles = 300, .setup_change_at = 120}, false},
    {"AllWithDamage",
     {.ensembles = 400, .garbage = 3000, .drop_every = 29, .repeat_every = 31, .vary_length = true,
      .foreign_every = 37, .foreign_bytes = 12000, .setup_change_at = 150},
     true},
    {"NarrowbandSetupChangeAndForeign",
     {.ensembles = 300, .bins = 20, .bin_size = 2, .structure = synth::Synth_Structure::Narrowband, .foreign_every = 60,
      .setup_change_at = 130, .new_bins = 12},
     false},
};

INSTANTIATE_TEST_SUITE_P(Today, Varying_File, ::testing::ValuesIn(k_cases),
                         [](const ::testing::TestParamInfo<Varying_Case>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace vantrel::test
