// The output rule every writer goes through, and the input checks every reader goes through.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/binary_file.h"
#include "platform/output_file.h"
#include "platform/program_messages.h"
#include "support/child_process.h"
#include "support/cli_run.h"
#include "support/temp_folder.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

std::size_t Entries(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}));
}

// Every writer's refusals of the input, of files holding data and of special files, and that
// they leave no temporary file, are checked from the command line; here the kinds they come from.
TEST(Output_File, RefusesTheInputAndFilesHoldingDataButReplacesItsOwnFiles) {
    Temp_Folder dir;
    const std::string source = dir.Path("source.ens");
    Write_File_Text(source, "ensembles");
    fs::create_hard_link(source, dir.Path("hard"));
    Write_File_Text(dir.Path("full.txt"), "user data");
    ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);
    EXPECT_EQ(Write_Output_File(dir.Path("full.txt"), "x", {source}), Outcome_Kind::k_overwrite_refused);
    EXPECT_EQ(Write_Output_File(dir.Path("no/such/folder/out"), "x"), Outcome_Kind::k_cannot_write);
    EXPECT_TRUE(Write_Output_File(dir.Path("full.txt"), "replaced", {source}, Existing_Output::k_replace));
    EXPECT_EQ(Read_File_Text(dir.Path("full.txt")), "replaced");
    EXPECT_EQ(Write_Output_File(dir.Path("hard"), "x", {source}, Existing_Output::k_replace), Outcome_Kind::k_target_is_input);
    EXPECT_EQ(Write_Output_File(dir.Path("fifo"), "x", {}, Existing_Output::k_replace), Outcome_Kind::k_cannot_write);
    EXPECT_EQ(Read_File_Text(source), "ensembles");
}

TEST(Output_File, AnEmptyFileIsWrittenIntoKeepingModeAndLinksAndASymbolicLinkStays) {
    Temp_Folder dir;
    const std::string empty = dir.Path("empty.txt");
    Write_File_Text(empty, "");
    fs::permissions(empty, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_hard_link(empty, dir.Path("other"));
    fs::create_symlink(empty, dir.Path("link"));

    {
        // The last step, filling the target, fails (the file size limit): it is emptied again.
        Output_File out;
        ASSERT_TRUE(out.Open(empty));
        const std::string block(1 << 18, 'x');
        ASSERT_TRUE(out.Write(block.data(), block.size()));  // straight to the temporary file
        rlimit old{};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const rlimit small{1 << 16, old.rlim_max};
        const auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &small);
        const Outcome o = out.Commit();
        ::setrlimit(RLIMIT_FSIZE, &old);
        ::signal(SIGXFSZ, old_handler);
        EXPECT_EQ(o, Outcome_Kind::k_cannot_write);
        EXPECT_EQ((std::pair{fs::file_size(empty), Entries(dir.Path())}), (std::pair<std::uintmax_t, std::size_t>{0, 3}));
    }
    ASSERT_TRUE(Write_Output_File(dir.Path("link"), "written"));
    EXPECT_TRUE(fs::is_symlink(dir.Path("link")));
    EXPECT_EQ(Read_File_Text(dir.Path("other")), "written");  // the same inode took the data
    EXPECT_EQ(fs::status(empty).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Now it holds data: refused.
    EXPECT_EQ(Write_Output_File(empty, "again"), Outcome_Kind::k_overwrite_refused);
    EXPECT_EQ((std::pair{Read_File_Text(empty), Entries(dir.Path())}), (std::pair{std::string("written"), std::size_t{3}}));
}

TEST(Output_File, AnEmptyFileInAFolderTheWriterMayNotWriteInIsWrittenAllTheSame) {
    Temp_Folder dir;
    for (const std::string name : {"shared.txt", "shared.nc"}) {
        Write_File_Text(dir.Path(name), "");
        ASSERT_EQ(::chown(dir.Path(name).c_str(), 65534, 65534), 0);
    }
    ::chmod(dir.Path("").c_str(), 0755);
    const int code = In_Child([&] {
        if (!Drop_Superuser()) return k_cannot_set_up;
        Output_File named;
        const bool written = Write_Output_File(dir.Path("shared.txt"), "nameless") &&
                             named.Open(dir.Path("shared.nc"), {}, Existing_Output::k_refuse, true) && named.Write("named", 5) &&
                             named.Commit();
        return written ? 0 : 1;
    });
    if (code == k_cannot_set_up) GTEST_SKIP() << "cannot drop privileges here";
    EXPECT_EQ(code, 0);
    EXPECT_EQ((std::pair{Read_File_Text(dir.Path("shared.txt")), Read_File_Text(dir.Path("shared.nc"))}),
              (std::pair{std::string("nameless"), std::string("named")}));
}

bool Nameless_Files_Work(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR, 0600);
    if (fd >= 0) ::close(fd);
    return fd >= 0;
}

TEST(Output_File, NothingReachesTheTargetBeforeCommitAndADiscardLeavesNoFile) {
    Temp_Folder dir;
    // Near the longest name a folder takes: the temporary names beside it must fit too.
    const std::string target = dir.Path(std::string(248, 'o') + ".txt");
    for (const bool named : {false, true}) {
        {
            Output_File out;
            ASSERT_TRUE(out.Open(target, {}, Existing_Output::k_refuse, named));
            out.Stream() << "half of it";
            ASSERT_TRUE(out.Write("!", 1));
            EXPECT_FALSE(fs::exists(target));
            EXPECT_EQ(!out.Temporary_Path().empty(), named);
            EXPECT_EQ(Entries(dir.Path()), named || !Nameless_Files_Work(dir.Path()) ? 1u : 0u);
        }  // a stop: destroyed without Commit
        EXPECT_EQ(Entries(dir.Path()), 0u) << named;

        // Two writers at once; the second to finish is refused.
        Output_File a, b;
        ASSERT_TRUE(a.Open(target, {}, Existing_Output::k_refuse, named));
        ASSERT_TRUE(b.Open(target, {}, Existing_Output::k_refuse, named));
        a.Write("first", 5);
        b.Write("second", 6);
        EXPECT_TRUE(a.Commit());
        EXPECT_EQ(b.Commit(), Outcome_Kind::k_overwrite_refused);
        EXPECT_EQ((std::pair{Read_File_Text(target), Entries(dir.Path())}), (std::pair{std::string("first"), std::size_t{1}}));
        // The program's own files are replaced whole.
        a.Open(target, {}, Existing_Output::k_replace, named);
        a.Write("third", 5);
        EXPECT_TRUE(a.Commit());
        EXPECT_EQ((std::pair{Read_File_Text(target), Entries(dir.Path())}), (std::pair{std::string("third"), std::size_t{1}}));
        fs::remove(target);
    }
}

TEST(Output_File, AWriteKilledHalfwayLeavesTheTargetAsItWas) {
    for (const bool empty_target : {false, true}) {
        Temp_Folder dir;
        const std::string target = dir.Path("out.txt");
        if (empty_target) Write_File_Text(target, "");
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            Output_File out;
            if (!out.Open(target)) ::_exit(2);
            const std::string block(1 << 20, 'x');
            for (int i = 0; i < 4; ++i) out.Write(block.data(), block.size());
            (void)!::write(ready[1], "w", 1);
            for (;;) out.Write(block.data(), block.size());  // killed while writing
        }
        char c = 0;
        ASSERT_EQ(::read(ready[0], &c, 1), 1);
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(ready[0]), ::close(ready[1]);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(fs::exists(target), empty_target);
        if (empty_target) { EXPECT_EQ(fs::file_size(target), 0u); }
        // Not even a temporary file is left, where the system can make one without a name.
        if (Nameless_Files_Work(dir.Path())) { EXPECT_EQ(Entries(dir.Path()), empty_target ? 1u : 0u); }
    }
}

TEST(Input_Files, AFifoADeviceOrAFolderIsRefusedAtOnceAndAnUnreadableFileSaysSo) {
    Temp_Folder dir;
    ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0600), 0);
    const auto start = std::chrono::steady_clock::now();
    Binary_File file;
    EXPECT_FALSE(file.Open(dir.Path("fifo")));  // no writer: a blocking open would wait for ever
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(file.Open_Error(), dir.Path("fifo") + ": not a regular file");
    EXPECT_EQ(Input_Problem(dir.Path("")), dir.Path("") + ": not a regular file");
    EXPECT_EQ(Input_Problem("/dev/null"), "/dev/null: not a regular file");
    EXPECT_EQ(Input_Problem(dir.Path("missing")), k_invalid_file);

    const std::string secret = dir.Path("secret.ens");
    Write_File_Text(secret, "ensembles");
    ::chmod(secret.c_str(), 0);
    ::chmod(dir.Path("").c_str(), 0755);  // the folder stays open to the child below
    const int code = In_Child([&] {
        if (!Drop_Superuser()) return k_cannot_set_up;
        Binary_File f;
        return !f.Open(secret) && f.Open_Error() == secret + ": " + std::strerror(EACCES) ? 0 : 1;
    });
    if (code == k_cannot_set_up) GTEST_SKIP() << "cannot drop privileges here";
    EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace vantrel::test
