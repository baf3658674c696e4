#pragma once

// Runs a piece of code in a child process whose file system calls are traced (ptrace, with a
// seccomp filter so that only those calls stop it). Before each of its file system calls the
// child can be looked at while it stands still, killed for good, or have exactly that call
// fail. A crash leaves the files with the effect of the calls completed so far and nothing
// else, so the files as they stand before each call are every state a crash of the code can
// leave them in. Linux on x86-64 only.

#include <array>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

enum class TraceAction { None, Kill, Fail };

struct TraceControl {
    int at = 0; // the file call (from 1) to kill before or to fail; 0: none
    TraceAction action = TraceAction::None;
    int error = EIO; // what the failed call returns
    // Called before each file call, the child standing still: call number, system call number.
    std::function<void(int, long)> beforeEachCall;
};

struct TracedRun {
    enum Ending { Finished, Threw, Killed, Crashed } ending = Crashed;
    int fileCalls = 0;     // file system calls reached, the one stopped at included
    std::string message;   // what the child threw
    long stoppedCall = -1; // the system call number killed before or made to fail
};

namespace syscall_tracer
{

// The system calls that read or change files, folders and their names.
constexpr std::array<long, 35> fileCalls = {
    SYS_open,      SYS_openat,    SYS_creat,      SYS_close,      SYS_read,       SYS_pread64,
    SYS_readv,     SYS_write,     SYS_pwrite64,   SYS_writev,     SYS_lseek,      SYS_fsync,
    SYS_fdatasync, SYS_ftruncate, SYS_truncate,   SYS_rename,     SYS_renameat,   SYS_renameat2,
    SYS_unlink,    SYS_unlinkat,  SYS_mkdir,      SYS_mkdirat,    SYS_rmdir,      SYS_stat,
    SYS_lstat,     SYS_fstat,     SYS_newfstatat, SYS_statx,      SYS_getdents64, SYS_flock,
    SYS_fcntl,     SYS_access,    SYS_faccessat,  SYS_faccessat2, SYS_openat2};

// A seccomp program that hands the file calls to the tracer and lets every other call run.
inline std::vector<sock_filter> fileCallFilter()
{
    std::vector<sock_filter> program{
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
    };
    for (const long nr : fileCalls) {
        program.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, static_cast<__u32>(nr), 0, 1));
        program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRACE));
    }
    program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    return program;
}

struct Shared {
    TracedRun::Ending ending;
    char message[512];
};

// Makes the call the child stands before (at its seccomp stop) fail with `error`. Most calls
// are skipped; close runs and then reports the error, as a failing close still frees the
// descriptor (and with it any lock held through it).
inline void failCall(pid_t child, int error)
{
    user_regs_struct regs{};
    ptrace(PTRACE_GETREGS, child, nullptr, &regs);
    if (static_cast<long>(regs.orig_rax) == SYS_close) {
        int status = 0;
        ptrace(PTRACE_SYSCALL, child, nullptr, 0);
        waitpid(child, &status, 0); // the exit of the call
        ptrace(PTRACE_GETREGS, child, nullptr, &regs);
    } else {
        regs.orig_rax = static_cast<unsigned long long>(-1); // system call -1: skipped
    }
    regs.rax = static_cast<unsigned long long>(-error);
    ptrace(PTRACE_SETREGS, child, nullptr, &regs);
}

} // namespace syscall_tracer

inline TracedRun runTraced(const std::function<void()>& body, const TraceControl& control)
{
    using namespace syscall_tracer;
    auto filter = fileCallFilter();
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    void* memory =
        mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        throw std::runtime_error("mmap failed");
    auto* shared = static_cast<Shared*>(memory);
    shared->ending = TracedRun::Crashed;
    shared->message[0] = '\0';

    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        // The filter goes in once the tracer has asked for its stops, or its calls would fail.
        if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0 || raise(SIGSTOP) != 0 ||
            prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
            prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
            _exit(90);
        try {
            body();
            shared->ending = TracedRun::Finished;
        } catch (const std::exception& e) {
            std::strncpy(shared->message, e.what(), sizeof shared->message - 1);
            shared->ending = TracedRun::Threw;
        }
        _exit(0);
    }

    TracedRun run;
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFSTOPPED(status))
        throw std::runtime_error("the traced child did not start (is ptrace allowed here?)");
    ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESECCOMP | PTRACE_O_EXITKILL);
    int signal = 0;
    for (;;) {
        ptrace(PTRACE_CONT, child, nullptr, signal);
        signal = 0;
        waitpid(child, &status, 0);
        if (WIFEXITED(status) || WIFSIGNALED(status))
            break;
        if (status >> 8 != (SIGTRAP | (PTRACE_EVENT_SECCOMP << 8))) {
            signal = WSTOPSIG(status); // the child's own signal: deliver it
            continue;
        }
        user_regs_struct regs{};
        ptrace(PTRACE_GETREGS, child, nullptr, &regs);
        const auto nr = static_cast<long>(regs.orig_rax);
        ++run.fileCalls;
        if (control.beforeEachCall)
            control.beforeEachCall(run.fileCalls, nr);
        if (run.fileCalls != control.at)
            continue;
        run.stoppedCall = nr;
        if (control.action == TraceAction::Kill) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            run.ending = TracedRun::Killed;
            munmap(memory, sizeof(Shared));
            return run;
        }
        if (control.action == TraceAction::Fail)
            failCall(child, control.error);
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        run.ending = shared->ending;
    run.message = shared->message;
    munmap(memory, sizeof(Shared));
    return run;
}

// Runs `body` round after round in one traced child, round n making the body's file call n
// fail with `error(n)`, until a round ends before reaching its call n. `prepare` runs in the
// child before each round, its calls untouched; `afterRound` runs in the parent after each
// round with a failure, while the child waits. Returns the number of such rounds.
inline int failEachCallInTurn(const std::function<void()>& prepare,
                              const std::function<void()>& body,
                              const std::function<int(int)>& error,
                              const std::function<void(const TracedRun&)>& afterRound)
{
    using namespace syscall_tracer;
    auto filter = fileCallFilter();
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    struct Round : Shared {
        bool stop;
    };
    void* memory =
        mmap(nullptr, sizeof(Round), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        throw std::runtime_error("mmap failed");
    auto* shared = static_cast<Round*>(memory);
    shared->stop = false;

    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        if (ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0 || raise(SIGSTOP) != 0 ||
            prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
            prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0)
            _exit(90);
        while (!shared->stop) {
            prepare();
            shared->ending = TracedRun::Crashed;
            shared->message[0] = '\0';
            raise(SIGUSR1); // the round starts
            try {
                body();
                shared->ending = TracedRun::Finished;
            } catch (const std::exception& e) {
                std::strncpy(shared->message, e.what(), sizeof shared->message - 1);
                shared->ending = TracedRun::Threw;
            }
            raise(SIGUSR2); // the round is over
        }
        _exit(0);
    }

    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFSTOPPED(status))
        throw std::runtime_error("the traced child did not start (is ptrace allowed here?)");
    ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESECCOMP | PTRACE_O_EXITKILL);
    int rounds = 0, round = 0;
    bool counting = false;
    TracedRun run;
    int signal = 0;
    for (;;) {
        ptrace(PTRACE_CONT, child, nullptr, signal);
        signal = 0;
        waitpid(child, &status, 0);
        if (WIFEXITED(status) || WIFSIGNALED(status))
            break;
        if (WSTOPSIG(status) == SIGUSR1) {
            run = TracedRun();
            counting = true;
            ++round;
            continue;
        }
        if (WSTOPSIG(status) == SIGUSR2) {
            counting = false;
            run.ending = shared->ending;
            run.message = shared->message;
            if (run.stoppedCall < 0) {
                shared->stop = true; // this round never met its call: every call has failed once
                continue;
            }
            ++rounds;
            afterRound(run);
            continue;
        }
        if (status >> 8 != (SIGTRAP | (PTRACE_EVENT_SECCOMP << 8))) {
            signal = WSTOPSIG(status);
            continue;
        }
        if (!counting || ++run.fileCalls != round)
            continue;
        user_regs_struct regs{};
        ptrace(PTRACE_GETREGS, child, nullptr, &regs);
        run.stoppedCall = static_cast<long>(regs.orig_rax);
        failCall(child, error(round));
    }
    munmap(memory, sizeof(Round));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the traced child crashed in round " + std::to_string(round));
    return rounds;
}
