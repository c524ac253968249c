#pragma once

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// A program the tests start: Xvfb, openbox, xdotool or the toy itself.
//
// Contract: the program runs in a process group of its own, so that stopping it also stops
// anything it started. Its standard output and error go to a log file (or nowhere). The
// environment is the test's own with the given variables set or removed. Destroying the
// object stops the group if it still runs (SIGTERM, then SIGKILL after a bounded wait) and
// reaps the program, so a failing test leaves no processes behind; if the test process dies
// first, the program gets SIGTERM. Throws std::runtime_error
// when the program cannot be started at all.
class ChildProcess {
public:
    // A variable to set to a value, or, with no value, to remove from the environment.
    using Environment = std::map<std::string, std::optional<std::string>>;

    struct Options {
        std::vector<std::string> argv; // argv[0] is looked up on PATH unless it has a slash
        Environment environment = {};
        std::optional<std::filesystem::path> log = {}; // standard output and error; none: /dev/null
        std::optional<std::filesystem::path> errorLog = {}; // standard error apart from the output
        std::optional<int> inheritedDescriptor = {}; // a descriptor the program gets open, at the same number
    };

    explicit ChildProcess(const Options& options);
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return m_pid; }
    const std::string& name() const { return m_name; }

    // The exit code once the program has ended within the limit (128 + the signal's number
    // when a signal ended it), or nothing while it still runs.
    std::optional<int> waitForExit(std::chrono::milliseconds limit);
    bool running();

    // Stops the whole process group and reaps the program; does nothing once it has ended.
    void stop();

private:
    bool reap(int options);

    std::string m_name;
    pid_t m_pid = -1;
    std::optional<int> m_exitCode;
};
