#include "HeadlessSession.h"

#include <exception>

namespace tk {

HeadlessSession::HeadlessSession(Program program, HeadlessPlatform::Options options)
    : m_platform(options)
{
    m_thread = std::thread([this, program = std::move(program)] {
        try {
            m_exitCode = program(m_platform);
        } catch (const std::exception& e) {
            m_failure = e.what();
        } catch (...) {
            m_failure = "unknown exception";
        }
        m_platform.programEnded();
    });
    m_platform.advance(0);
}

HeadlessSession::~HeadlessSession()
{
    try {
        if (!m_platform.ended())
            m_platform.loseDisplay();
    } catch (...) {
        // A program that never settles cannot be stopped from here; joining would hang.
        m_thread.detach();
        return;
    }
    m_thread.join();
}

}
