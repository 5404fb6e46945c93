// An open that fails says why: a member that cannot be read, or memory that ran out, is
// not "Invalid File". Each case runs in a child that gives up what the test needs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app_state.h"
#include "loading/file_loading.h"
#include "platform/program_messages.h"
#include "support/bb_builder.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace vantrel::test {
namespace {

// The child's exit code for an open's outcome: 0 when it is the kind and message expected.
int Verdict(const Outcome& o, Outcome_Kind kind, const std::string& message) {
    if (o == kind && o.message == message) return 0;
    std::fprintf(stderr, "%s\n", o.message.c_str());
    return 1;
}

TEST(Open_Failures, AnUnreadableMemberIsAPermissionProblem) {
    Temp_Folder dir;
    const std::string name = dir.Write("run.000", BB_Run(1, 300, 400));
    dir.Write("run.001", BB_Run(301, 300, 400));
    dir.Write("run.002", BB_Run(601, 300, 400));
    ::chmod(dir.Path("run.001").c_str(), 0);
    ::chmod(dir.Path("").c_str(), 0755);
    const std::string expected = dir.Path("run.001") + ": " + std::strerror(EACCES);
    const int code = In_Child([&] {
        if (!Drop_Superuser()) return k_cannot_set_up;
        App_State app;
        Open_File_Host host;
        app.menus.MultiFile = true;
        return Verdict(Open_File(app, host, name), Outcome_Kind::k_invalid_file, expected);
    });
    if (code == k_cannot_set_up) GTEST_SKIP() << "cannot drop privileges here";
    EXPECT_EQ(code, 0);
}

TEST(Open_Failures, ArraysThatDoNotFitInMemoryAreReportedAsMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#endif
    Temp_Folder dir;
    // The arrays take the file's bins: many bins, so that they are large.
    const std::string name = dir.Write("a.ens", BB_Run(1, 20, 400, 0x5243, 255));
    const int code = In_Child([&] {
        App_State app;
        Open_File_Host host;
        app.settings.Max_Sub_Ens = app.settings.Max_Whole_Ens = 8192;  // hundreds of MB of arrays
        // Room for what runs already and a little more, far less than the arrays.
        long pages = 0;
        if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
            std::fclose(statm);
        }
        if (pages <= 0) return k_cannot_set_up;
        const rlimit limit{static_cast<rlim_t>(pages * ::sysconf(_SC_PAGESIZE) + (32L << 20)), RLIM_INFINITY};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) return k_cannot_set_up;
        return Verdict(Open_File(app, host, name), Outcome_Kind::k_out_of_memory, k_out_of_memory);
    });
    if (code == k_cannot_set_up) GTEST_SKIP() << "cannot limit memory here";
    EXPECT_EQ(code, 0);
}

}  // namespace
}  // namespace vantrel::test
