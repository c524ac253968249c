#include "RunningToy.h"

#include "Poll.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

// The toy's window, as the program describes it.
constexpr std::string_view MainTitle = "モルタン";
constexpr std::chrono::milliseconds PointerLimit(5000);

std::vector<std::string> commandLine(const std::vector<std::string>& wrapper, const std::string& program)
{
    std::vector<std::string> argv = wrapper;
    argv.push_back(program);
    return argv;
}

}

RunningToy::RunningToy(VirtualDesktop& desktop, const std::string& program, const std::vector<std::string>& wrapper)
    : m_desktop(desktop)
    , m_log(desktop.workDir() / "dorgo.log")
    , m_errorLog(desktop.workDir() / "dorgo.stderr")
    // Only the display is the desktop's: no Wayland, and no SDL driver chosen from outside,
    // so the program finds its window system as it does on a person's desktop.
    , m_process({ .argv = commandLine(wrapper, program),
          .environment = { { "DISPLAY", desktop.displayName() }, { "WAYLAND_DISPLAY", std::nullopt },
              { "SDL_VIDEODRIVER", std::nullopt } },
          .log = m_log,
          .errorLog = m_errorLog })
{
}

std::optional<RunningToy::WindowId> RunningToy::waitForWindow(std::string_view title, std::chrono::milliseconds limit)
{
    std::optional<WindowId> found;
    eventually(limit, [&] {
        for (WindowId window : m_desktop.managedWindows()) {
            if (m_desktop.processOf(window) == pid() && m_desktop.titleOf(window) == title) {
                found = window;
                return true;
            }
        }
        return false;
    });
    return found;
}

bool RunningToy::waitForMainWindow(std::chrono::milliseconds limit)
{
    std::optional<WindowId> window = waitForWindow(MainTitle, limit);
    m_mainWindow = window.value_or(0);
    return window.has_value();
}

std::string RunningToy::describeDesktop()
{
    std::ostringstream text;
    text << "on " << m_desktop.displayName() << " the program (pid " << pid() << ") "
         << (m_process.running() ? "runs" : "has ended") << "; managed windows:";
    for (WindowId window : m_desktop.managedWindows()) {
        text << "\n  0x" << std::hex << window << std::dec << " pid " << m_desktop.processOf(window).value_or(-1) << " \""
             << m_desktop.titleOf(window).value_or("") << "\"";
    }
    return text.str();
}

bool RunningToy::waitUntilActive(WindowId window, std::chrono::milliseconds limit)
{
    return eventually(limit, [&] { return m_desktop.activeWindow() == window; });
}

bool RunningToy::hasWindow(std::string_view title)
{
    for (WindowId window : m_desktop.managedWindows()) {
        if (m_desktop.processOf(window) == pid() && m_desktop.titleOf(window) == title)
            return true;
    }
    return false;
}

std::optional<tk::Rect> RunningToy::clientRect()
{
    return m_desktop.clientRect(m_mainWindow);
}

tk::Point RunningToy::screenOf(tk::Point client)
{
    const std::optional<tk::Rect> area = clientRect();
    if (!area)
        throw std::runtime_error("the toy's window has gone");
    return { area->left + client.x, area->top + client.y };
}

tk::Bitmap RunningToy::screenshot()
{
    const std::optional<tk::Rect> area = clientRect();
    if (!area)
        throw std::runtime_error("the toy's window has gone");
    m_lastScreenshot = m_desktop.capture(*area);
    return m_lastScreenshot;
}

void RunningToy::moveTo(tk::Point client)
{
    moveToScreen(screenOf(client));
}

void RunningToy::moveToScreen(tk::Point screen)
{
    // xdotool's own --sync waits for ever when the pointer is already there, so the arrival is
    // awaited here.
    m_desktop.xdotool({ "mousemove", std::to_string(screen.x), std::to_string(screen.y) });
    if (!eventually(PointerLimit, [&] { return m_desktop.pointer() == screen; }))
        throw std::runtime_error("the pointer did not arrive at (" + std::to_string(screen.x) + ", " + std::to_string(screen.y) + ")");
}

void RunningToy::press()
{
    m_desktop.xdotool({ "mousedown", "1" });
}

void RunningToy::release()
{
    m_desktop.xdotool({ "mouseup", "1" });
}

void RunningToy::click(tk::Point client)
{
    moveTo(client);
    m_desktop.xdotool({ "click", "1" });
}

void RunningToy::key(std::string_view name)
{
    m_desktop.xdotool({ "key", std::string(name) });
}

std::string RunningToy::errorOutput() const
{
    std::ifstream in(m_errorLog);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
