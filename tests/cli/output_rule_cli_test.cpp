// Every command that writes a file keeps the same rule: never the file being read, never a
// FIFO, device or folder, never a file that holds data; an empty file is written into.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "support/cli_run.h"
#include "support/temp_folder.h"
#include "synth_writer.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

struct Writer {
    const char* name;
    std::string (*command)(const std::string& source, const std::string& target);
};

const Writer k_writers[] = {
    {"render", [](const std::string& s, const std::string& t) { return "render --view whole --size 200x100 -o " + Quoted(t) + " " + Quoted(s); }},
    {"settings", [](const std::string&, const std::string& t) { return "settings --defaults " + Quoted(t); }},
    {"export", [](const std::string& s, const std::string& t) { return "export " + Quoted(s) + " --kind series -o " + Quoted(t); }},
    {"save-range", [](const std::string& s, const std::string& t) { return "save-range " + Quoted(s) + " " + Quoted(t) + " --first 3 --last 9"; }},
    {"convert", [](const std::string& s, const std::string& t) { return "convert " + Quoted(s) + " " + Quoted(t); }},
};

struct Output_Rule : ::testing::Test {
    Temp_Folder dir;
    std::string source, source_bytes;
    void SetUp() override {
        source = dir.Path("src.ens");
        synth::Write_Synth_File(source, {.ensembles = 40, .bins = 8});
        source_bytes = Read_File_Text(source);
    }
    // The files in the folder other than the command's own output captures.
    std::size_t Entries() const {
        std::size_t n = 0;
        for (const auto& e : fs::directory_iterator(dir.Path(""))) {
            const std::string name = e.path().filename().string();
            n += name != "stdout.txt" && name != "stderr.txt";
        }
        return n;
    }
};

TEST_F(Output_Rule, EveryWriterRefusesTheSourceLinksSpecialFilesAndFilesHoldingData) {
    fs::create_symlink(source, dir.Path("link.ens"));
    fs::create_hard_link(source, dir.Path("hard.ens"));
    ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);
    fs::create_directory(dir.Path("folder"));
    const bool have_device = ::mknod(dir.Path("null").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    std::ofstream(dir.Path("full.txt")) << "keep me";
    ASSERT_EQ(Run_Cli("settings --defaults " + Quoted(dir.Path("opts.txt")), dir.Path("")).exit_code, 0);
    fs::create_hard_link(dir.Path("opts.txt"), dir.Path("opts.hard"));
    const std::string options = Read_File_Text(dir.Path("opts.txt"));
    // synth replaces an earlier file of its own, but never a FIFO, device or folder.
    for (const std::string target : {"fifo", "folder", "null"}) {
        if (target == "null" && !have_device) continue;
        const auto r = Run_Cli("synth --ensembles 3 " + Quoted(dir.Path(target)), dir.Path(""));
        EXPECT_NE(r.err.find("not a regular file"), std::string::npos) << target << ": " << r.err;
    }
    const std::size_t before = Entries();

    for (const Writer& w : k_writers) {
        // settings reads no file at all: the others are to it files holding data.
        const bool reads = std::string(w.name) != "settings";
        const char* input = reads ? "it is a file being read" : "Over-Write of File Not Allowed";
        const std::pair<const char*, const char*> cases[] = {
            {"src.ens", input}, {"link.ens", input}, {"hard.ens", input}, {"opts.hard", input}, {"fifo", "not a regular file"},
            {"folder", "not a regular file"}, {"null", "not a regular file"}, {"full.txt", "Over-Write of File Not Allowed"}};
        for (const auto& [target, why] : cases) {
            if (std::string(target) == "null" && !have_device) continue;
            const auto start = std::chrono::steady_clock::now();
            const std::string settings = reads ? " --settings " + Quoted(dir.Path("opts.txt")) : "";
            const auto r = Run_Cli(w.command(source, dir.Path(target)) + settings, dir.Path(""));
            // Exit code 1 and one line that says why.
            EXPECT_EQ((std::tuple{r.exit_code, std::count(r.err.begin(), r.err.end(), '\n'), r.err.find(why) != std::string::npos}),
                      (std::tuple{1, std::ptrdiff_t{1}, true})) << w.name << " onto " << target << ": " << r.out << r.err;
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << w.name << " onto " << target;
        }
        EXPECT_EQ((std::array{Read_File_Text(source), Read_File_Text(dir.Path("full.txt")), Read_File_Text(dir.Path("opts.txt"))}),
                  (std::array{source_bytes, std::string("keep me"), options})) << w.name;
        EXPECT_EQ((std::array{fs::is_fifo(dir.Path("fifo")), fs::is_empty(dir.Path("folder")), !have_device || fs::is_character_file(dir.Path("null"))}),
                  (std::array{true, true, true})) << w.name;
        EXPECT_EQ(Entries(), before) << w.name << ": a temporary file was left";
    }
}

TEST_F(Output_Rule, EveryWriterWritesIntoAnEmptyFileKeepingItsModeAndLinks) {
    for (const Writer& w : k_writers) {
        const std::string target = dir.Path(std::string(w.name) + ".out");
        std::ofstream(target).close();
        ::chmod(target.c_str(), 0640);
        const std::string other = target + ".link";
        fs::create_hard_link(target, other);
        const auto r = Run_Cli(w.command(source, target), dir.Path(""));
        ASSERT_EQ(r.exit_code, 0) << w.name << ": " << r.err;
        struct stat st {};
        ASSERT_EQ(::stat(target.c_str(), &st), 0);
        EXPECT_EQ((std::tuple{st.st_mode & 07777, st.st_nlink, st.st_size > 0}), (std::tuple{0640u, nlink_t{2}, true})) << w.name;
        EXPECT_EQ(Read_File_Text(other), Read_File_Text(target)) << w.name;
    }
    EXPECT_EQ(Entries(), 1 + 2 * std::size(k_writers));  // nothing else left beside them
}

TEST_F(Output_Rule, AFifoInputReturnsAtOnceWithOneLineAndTheMaximaKeepToTheirLimits) {
    ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);
    for (const std::string command : {"load", "survey", "details", "dump", "convert"}) {
        const auto start = std::chrono::steady_clock::now();
        const std::string out = command == "convert" ? " " + Quoted(dir.Path("out.nc")) : "";
        const auto r = Run_Cli(command + " " + Quoted(dir.Path("fifo")) + out, dir.Path(""));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << command;
        EXPECT_EQ(r.exit_code, 1) << command;
        EXPECT_EQ(r.err, "vantrel-cli " + command + ": " + dir.Path("fifo") + ": not a regular file\n");
    }
    // The maxima keep to 128..8192: a Whole Set of 1 becomes 128 (no step over 40
    // ensembles), a huge one is held to 8192 rather than allocated.
    const auto small = Run_Cli("load " + Quoted(source) + " --max-whole 1", dir.Path(""));
    EXPECT_NE(small.out.find("Ens_Step: 0\n"), std::string::npos) << small.out << small.err;
    EXPECT_EQ(Run_Cli("load " + Quoted(source) + " --max-whole 1000000 --max-sub 99999999", dir.Path("")).exit_code, 0);
}

}  // namespace
}  // namespace vantrel::test
