#pragma once

#include "Bitmap.h"
#include "ChildProcess.h"
#include "Geometry.h"
#include "VirtualDesktop.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The toy's program (build/Dorgo) running on a virtual desktop, handled the way a person
// handles it: the pointer and the keyboard through xdotool, and the eyes through screenshots.
//
// Contract: the constructor starts the program; waitForMainWindow() then finds its window by
// the program's process id and the window's title. Positions given to the pointer calls and
// taken by screenshot() are in the main window's client area, wherever the window is at that
// moment. Destroying the object stops the program if it still runs.
class RunningToy {
public:
    using WindowId = VirtualDesktop::WindowId;

    // The wrapper, when given, is a command line the program runs under (valgrind and its
    // options, say), so that the wrapped program keeps the process id the wrapper started with.
    RunningToy(VirtualDesktop& desktop, const std::string& program, const std::vector<std::string>& wrapper = {});

    long pid() const { return m_process.pid(); }

    // The program's managed window with this title, once there is one within the limit.
    std::optional<WindowId> waitForWindow(std::string_view title, std::chrono::milliseconds limit);
    // The same for the main window, which the other calls then use.
    bool waitForMainWindow(std::chrono::milliseconds limit);
    WindowId mainWindow() const { return m_mainWindow; }
    // The windows the window manager manages, with their programs and titles, and whether the
    // program still runs: what a failed search for a window has to go on.
    std::string describeDesktop();
    // Waits until the window manager has given the window the keyboard focus.
    bool waitUntilActive(WindowId, std::chrono::milliseconds limit);
    // Whether the window manager still manages a window of the program with this title.
    bool hasWindow(std::string_view title);

    std::optional<tk::Rect> clientRect();
    tk::Point screenOf(tk::Point client);

    // The main window's client area as the screen shows it now; also kept as lastScreenshot().
    tk::Bitmap screenshot();
    const tk::Bitmap& lastScreenshot() const { return m_lastScreenshot; }

    void moveTo(tk::Point client);
    void moveToScreen(tk::Point screen);
    void press();
    void release();
    void click(tk::Point client);
    // An X key name as xdotool takes it: "Return", "Tab", "space", "Escape", "alt+F4".
    void key(std::string_view name);

    std::optional<int> waitForExit(std::chrono::milliseconds limit) { return m_process.waitForExit(limit); }
    // What the program wrote to its standard error.
    std::string errorOutput() const;

private:
    VirtualDesktop& m_desktop;
    std::filesystem::path m_log;
    std::filesystem::path m_errorLog;
    ChildProcess m_process;
    WindowId m_mainWindow = 0;
    tk::Bitmap m_lastScreenshot;
};
