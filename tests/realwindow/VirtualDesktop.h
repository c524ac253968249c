#pragma once

#include "Bitmap.h"
#include "ChildProcess.h"
#include "Geometry.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Xlib stays out of this header: its macros (None, Status, CursorShape, ...) clash with the
// toolkit's names, so only the connection's type is declared here.
struct _XDisplay;

// A screen of the tests' own: an Xvfb server on a display number it picked itself (so that
// tests and other people's servers never clash), 1280 x 1024 at 24 bits, with openbox managing
// its windows, and a connection to look at it and to find windows on it.
//
// Contract: the constructor returns once openbox manages the screen, or throws
// std::runtime_error naming the log to read. Openbox runs with its stock configuration, not the
// user's, so that its title bar has the same buttons in the same places everywhere. Destroying
// the object stops openbox and the server. Windows are X window ids; a window that has gone
// answers every question with nothing.
class VirtualDesktop {
public:
    using WindowId = unsigned long;

    explicit VirtualDesktop(const std::filesystem::path& workDir);
    ~VirtualDesktop();

    VirtualDesktop(const VirtualDesktop&) = delete;
    VirtualDesktop& operator=(const VirtualDesktop&) = delete;

    const std::string& displayName() const { return m_displayName; }
    const std::filesystem::path& workDir() const { return m_workDir; }
    tk::Size screenSize() const;

    // The top-level windows the window manager manages, oldest first.
    std::vector<WindowId> managedWindows();
    std::optional<long> processOf(WindowId);
    // The title the program gave the window (_NET_WM_NAME, UTF-8).
    std::optional<std::string> titleOf(WindowId);
    // The title the window manager shows in the window's title bar (_NET_WM_VISIBLE_NAME).
    std::optional<std::string> shownTitleOf(WindowId);
    std::optional<WindowId> activeWindow();
    // Whether the window is mapped and can be seen, as it cannot while minimised.
    bool isViewable(WindowId);

    // Where a window's client area lies on the screen.
    std::optional<tk::Rect> clientRect(WindowId);
    // The window manager's frame around a client window: the client's top-level ancestor.
    std::optional<tk::Rect> frameRect(WindowId);
    // The frame's widths as the window manager announces them (_NET_FRAME_EXTENTS).
    std::optional<tk::FrameExtents> frameExtents(WindowId);

    // Where the pointer is on the screen.
    tk::Point pointer();

    // What the screen shows in that area, as 0xFFRRGGBB pixels.
    tk::Bitmap capture(const tk::Rect& screenArea);

    // Runs xdotool on this screen and waits for it; throws std::runtime_error when it fails.
    void xdotool(const std::vector<std::string>& arguments);

    // Asks the window manager to close the window, as a taskbar or a pager does
    // (_NET_CLOSE_WINDOW); the window manager then asks the program politely.
    void requestClose(WindowId);

    // Ends the X server under everybody's feet with the signal (SIGTERM lets it leave tidily,
    // SIGKILL does not) and waits for it to be gone; true when it went within the limit. The
    // tests' own connection is closed first, since Xlib would end the test process when it
    // found the connection broken. Afterwards only workDir() and displayName() may be asked.
    bool endServer(int signal, std::chrono::milliseconds limit);

private:
    std::optional<std::string> utf8Property(WindowId, const char* property);
    std::optional<std::vector<unsigned long>> cardinals(WindowId, const char* property, unsigned long type);
    std::optional<WindowId> topLevelAncestor(WindowId);
    bool openboxAnnounced();
    bool managesANewWindow();

    struct DisplayCloser {
        void operator()(_XDisplay*) const;
    };

    std::filesystem::path m_workDir;
    std::string m_displayName;
    std::unique_ptr<ChildProcess> m_server;
    std::unique_ptr<_XDisplay, DisplayCloser> m_connection;
    _XDisplay* m_display = nullptr; // the connection, borrowed
    std::unique_ptr<ChildProcess> m_windowManager;
};
