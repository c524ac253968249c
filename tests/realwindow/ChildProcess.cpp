#include "ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;

constexpr auto ExitPollInterval = 10ms;
// How long a program gets to tidy up after SIGTERM (Xvfb removes its lock file and socket)
// before the group is killed outright.
constexpr auto TermGrace = 5s;

std::vector<std::string> environmentWith(const ChildProcess::Environment& changes)
{
    std::vector<std::string> result;
    for (char** entry = environ; *entry; ++entry) {
        std::string_view text(*entry);
        std::string name(text.substr(0, text.find('=')));
        if (!changes.contains(name))
            result.emplace_back(text);
    }
    for (const auto& [name, value] : changes) {
        if (value)
            result.push_back(name + "=" + *value);
    }
    return result;
}

std::vector<char*> pointersTo(std::vector<std::string>& strings)
{
    std::vector<char*> result;
    for (std::string& s : strings)
        result.push_back(s.data());
    result.push_back(nullptr);
    return result;
}

}

ChildProcess::ChildProcess(const Options& options)
{
    if (options.argv.empty())
        throw std::invalid_argument("ChildProcess: no program given");
    m_name = options.argv.front();

    // Everything the child needs is made before fork, so that the child only calls what is
    // safe between fork and exec.
    std::vector<std::string> args = options.argv;
    std::vector<std::string> env = environmentWith(options.environment);
    std::vector<char*> argvPointers = pointersTo(args);
    std::vector<char*> envPointers = pointersTo(env);

    const std::string logPath = options.log ? options.log->string() : "/dev/null";
    const int output = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (output < 0)
        throw std::runtime_error("cannot open " + logPath + ": " + std::strerror(errno));
    const std::string errorPath = options.errorLog ? options.errorLog->string() : logPath;
    const int errors = options.errorLog ? ::open(errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : ::fcntl(output, F_DUPFD_CLOEXEC, 0);
    if (errors < 0) {
        ::close(output);
        throw std::runtime_error("cannot open " + errorPath + ": " + std::strerror(errno));
    }
    const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);

    // The child reports a failed exec through this pipe; a successful exec closes it.
    int execError[2];
    if (::pipe2(execError, O_CLOEXEC) != 0) {
        ::close(output);
        ::close(errors);
        ::close(input);
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }

    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setpgid(0, 0);
        // Should the tests themselves be killed (a CTest timeout, say), the program goes with
        // them instead of living on with nobody to stop it.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
        ::dup2(input, STDIN_FILENO);
        ::dup2(output, STDOUT_FILENO);
        ::dup2(errors, STDERR_FILENO);
        if (options.inheritedDescriptor)
            ::fcntl(*options.inheritedDescriptor, F_SETFD, 0);
        // Signals the test process ignores or blocks must not stay so in the program.
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::execvpe(argvPointers[0], argvPointers.data(), envPointers.data());
        const int error = errno;
        [[maybe_unused]] ssize_t written = ::write(execError[1], &error, sizeof error);
        ::_exit(127);
    }
    const int forkError = errno;
    ::close(output);
    ::close(errors);
    ::close(input);
    ::close(execError[1]);
    if (pid < 0) {
        ::close(execError[0]);
        throw std::runtime_error("cannot start " + m_name + ": fork: " + std::strerror(forkError));
    }
    // Both sides set the group, so that it exists whichever runs first.
    ::setpgid(pid, pid);
    m_pid = pid;

    int error = 0;
    ssize_t got;
    do {
        got = ::read(execError[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    ::close(execError[0]);
    if (got > 0) {
        reap(0);
        throw std::runtime_error("cannot start " + m_name + ": " + std::strerror(error));
    }
}

ChildProcess::~ChildProcess()
{
    stop();
}

bool ChildProcess::reap(int options)
{
    // WNOWAIT leaves the ended program a zombie, which keeps its process group's number
    // reserved: signalling the group stays safe until stop() reaps it.
    siginfo_t info {};
    if (::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | options) != 0 || info.si_pid != m_pid)
        return false;
    m_exitCode = info.si_code == CLD_EXITED ? info.si_status : 128 + info.si_status;
    return true;
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!m_exitCode && !reap(WNOHANG | WNOWAIT)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(ExitPollInterval);
    }
    return m_exitCode;
}

bool ChildProcess::running()
{
    return !waitForExit(std::chrono::milliseconds(0));
}

void ChildProcess::stop()
{
    if (m_pid <= 0)
        return;
    if (running()) {
        ::kill(-m_pid, SIGTERM);
        waitForExit(std::chrono::duration_cast<std::chrono::milliseconds>(TermGrace));
    }
    // Whatever of the group is still there goes now; the program itself is a zombie or
    // about to be one, so the group's number cannot belong to anybody else yet.
    ::kill(-m_pid, SIGKILL);
    siginfo_t info {};
    ::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED);
    if (!m_exitCode)
        m_exitCode = info.si_code == CLD_EXITED ? info.si_status : 128 + info.si_status;
    m_pid = -1;
}
