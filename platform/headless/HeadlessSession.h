#pragma once

#include "HeadlessPlatform.h"

#include <functional>
#include <string>
#include <thread>

namespace tk {

// Runs a program against a HeadlessPlatform on a thread of its own, so that a test can drive it
// step by step: every call on platform() returns once the program is idle again. Starting
// returns once the program first waits for input. Ending the session while the program still
// runs takes the display away from it, which ends every event loop, and waits for it.
class HeadlessSession {
public:
    using Program = std::function<int(Platform&)>;

    explicit HeadlessSession(Program program, HeadlessPlatform::Options options = {});
    ~HeadlessSession();
    HeadlessSession(const HeadlessSession&) = delete;
    HeadlessSession& operator=(const HeadlessSession&) = delete;

    HeadlessPlatform& platform() { return m_platform; }
    const HeadlessPlatform& platform() const { return m_platform; }

    bool ended() const { return m_platform.ended(); }
    // The program's exit code once it has ended.
    int exitCode() const { return m_exitCode; }
    // What escaped the program, if anything did.
    const std::string& failure() const { return m_failure; }

private:
    HeadlessPlatform m_platform;
    int m_exitCode = -1;
    std::string m_failure;
    std::thread m_thread;
};

}
