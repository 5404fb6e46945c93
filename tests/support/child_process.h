#pragma once
// Runs a check in a child process, so that it can give up what the test process must keep
// (the superuser's rights, address space).

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace vantrel::test {

// A child's exit code when it could not give up what the check needs: the test is skipped.
constexpr int k_cannot_set_up = 3;

// Runs check (returning an exit code) in a child; the child's exit code, or -1 when it did not exit.
template <typename Check>
int In_Child(Check check) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        int code = 1;
        try {
            code = check();
        } catch (...) {
            code = 4;
        }
        ::_exit(code);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs check in a child whose files cannot grow past `bytes`, as on a full disk: a write
// beyond fails (File too large) instead of killing the child.
template <typename Check>
int In_Child_With_File_Limit(rlim_t bytes, Check check) {
    return In_Child([&] {
        const rlimit limit{bytes, bytes};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return k_cannot_set_up;
        std::signal(SIGXFSZ, SIG_IGN);
        return check();
    });
}

// The superuser reads anything: a check of a refused read gives that up first.
inline bool Drop_Superuser() { return ::geteuid() != 0 || ::setuid(65534) == 0; }

}  // namespace vantrel::test
