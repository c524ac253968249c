#include "VirtualDesktop.h"

#include "Poll.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <csignal>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

constexpr auto ServerLimit = 20s; // Xvfb answering with its display number
constexpr auto WindowManagerLimit = 20s; // openbox managing the screen
constexpr auto ProbeLimit = 300ms; // one trial window being managed, once openbox runs
constexpr auto XdotoolLimit = 10s;
constexpr const char* ScreenGeometry = "1280x1024x24";

// Windows come and go under the tests' feet; asking about one that has just gone is an
// error Xlib would otherwise end the process for. Every question here checks its answer
// instead.
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

std::string readDisplayNumber(int descriptor, ChildProcess& server, const std::filesystem::path& log)
{
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + ServerLimit;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left <= 0ms || !server.running())
            throw std::runtime_error("Xvfb did not tell its display number; see " + log.string());
        pollfd p { descriptor, POLLIN, 0 };
        if (::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 100))) <= 0)
            continue;
        char buffer[32];
        const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
        if (got <= 0)
            throw std::runtime_error("Xvfb closed its display-number pipe; see " + log.string());
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return ":" + text.substr(0, text.find('\n'));
}

}

VirtualDesktop::VirtualDesktop(const std::filesystem::path& workDir)
    : m_workDir(workDir)
{
    std::filesystem::create_directories(m_workDir);
    XSetErrorHandler(&ignoreXError);

    // -displayfd lets the server take the first free display number itself and write it to
    // the pipe: no guessing, no race with other servers starting at the same time.
    int numberPipe[2];
    if (::pipe2(numberPipe, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    const std::filesystem::path serverLog = m_workDir / "xvfb.log";
    try {
        m_server = std::make_unique<ChildProcess>(ChildProcess::Options {
            .argv = { "Xvfb", "-displayfd", std::to_string(numberPipe[1]), "-screen", "0", ScreenGeometry, "-nolisten", "tcp",
                "-noreset" },
            .log = serverLog,
            .inheritedDescriptor = numberPipe[1],
        });
    } catch (...) {
        ::close(numberPipe[0]);
        ::close(numberPipe[1]);
        throw;
    }
    ::close(numberPipe[1]);
    try {
        m_displayName = readDisplayNumber(numberPipe[0], *m_server, serverLog);
    } catch (...) {
        ::close(numberPipe[0]);
        throw;
    }
    ::close(numberPipe[0]);

    m_connection.reset(XOpenDisplay(m_displayName.c_str()));
    m_display = m_connection.get();
    if (!m_display)
        throw std::runtime_error("cannot connect to Xvfb on " + m_displayName + "; see " + serverLog.string());

    // An empty configuration folder of its own makes openbox read only its stock
    // configuration, whatever the person running the tests has set up for themselves.
    const std::filesystem::path config = m_workDir / "openbox-home";
    std::filesystem::create_directories(config / "config");
    std::filesystem::create_directories(config / "cache");
    const std::filesystem::path windowManagerLog = m_workDir / "openbox.log";
    m_windowManager = std::make_unique<ChildProcess>(ChildProcess::Options {
        .argv = { "openbox", "--sm-disable" },
        .environment = { { "DISPLAY", m_displayName }, { "XDG_CONFIG_HOME", (config / "config").string() },
            { "XDG_CACHE_HOME", (config / "cache").string() } },
        .log = windowManagerLog,
    });
    if (!eventually(WindowManagerLimit, [this] { return (openboxAnnounced() && managesANewWindow()) || !m_windowManager->running(); })
        || !m_windowManager->running())
        throw std::runtime_error("openbox did not take over " + m_displayName + "; see " + windowManagerLog.string());

    // The first key that xdotool sends switches the server to its own keyboard, and everybody
    // is told that the keyboard map changed; openbox then grabs its key bindings afresh, and a
    // key sent meanwhile (alt+F4, say) would slip past it. So one harmless key goes first, and
    // a trial window managed after it shows that openbox has dealt with the news.
    xdotool({ "key", "shift" });
    if (!eventually(WindowManagerLimit, [this] { return managesANewWindow(); }))
        throw std::runtime_error("openbox stopped managing windows on " + m_displayName + "; see " + windowManagerLog.string());
}

void VirtualDesktop::DisplayCloser::operator()(_XDisplay* display) const
{
    XCloseDisplay(display);
}

// The window manager goes first, then the connection, then the server.
VirtualDesktop::~VirtualDesktop() = default;

tk::Size VirtualDesktop::screenSize() const
{
    const int screen = DefaultScreen(m_display);
    return { DisplayWidth(m_display, screen), DisplayHeight(m_display, screen) };
}

std::optional<std::vector<unsigned long>> VirtualDesktop::cardinals(WindowId window, const char* property, unsigned long type)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom name = XInternAtom(m_display, property, False);
    if (XGetWindowProperty(m_display, window, name, 0, 1024, False, type, &actualType, &format, &count, &after, &data) != Success)
        return std::nullopt;
    std::optional<std::vector<unsigned long>> result;
    if (data && actualType == type && format == 32) {
        // Xlib hands out 32-bit properties as longs, whatever the size of a long.
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        result = std::vector<unsigned long>(values, values + count);
    }
    if (data)
        XFree(data);
    return result;
}

bool VirtualDesktop::openboxAnnounced()
{
    // A window manager announces itself with a window of its own that names itself in the
    // same property (the EWMH check), and titles that window with its name.
    auto check = cardinals(DefaultRootWindow(m_display), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    if (!check || check->empty())
        return false;
    auto self = cardinals(check->front(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW);
    return self && !self->empty() && self->front() == check->front() && titleOf(check->front()) == "Openbox";
}

bool VirtualDesktop::managesANewWindow()
{
    // Openbox announces itself before it has finished starting, and a window mapped in
    // between can be left unmanaged, unmapped for good: SDL then waits for ever for its window
    // to appear. So trial windows are mapped, a fresh one each time, until openbox takes one on.
    const Window trial = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 16, 16, 0, 0, 0);
    XMapWindow(m_display, trial);
    XFlush(m_display);
    const bool managed = eventually(ProbeLimit, [&] {
        const std::vector<WindowId> windows = managedWindows();
        return std::find(windows.begin(), windows.end(), trial) != windows.end();
    });
    XDestroyWindow(m_display, trial);
    XSync(m_display, False);
    return managed;
}

std::vector<VirtualDesktop::WindowId> VirtualDesktop::managedWindows()
{
    return cardinals(DefaultRootWindow(m_display), "_NET_CLIENT_LIST", XA_WINDOW).value_or(std::vector<unsigned long> {});
}

std::optional<long> VirtualDesktop::processOf(WindowId window)
{
    auto pid = cardinals(window, "_NET_WM_PID", XA_CARDINAL);
    if (!pid || pid->empty())
        return std::nullopt;
    return static_cast<long>(pid->front());
}

std::optional<std::string> VirtualDesktop::utf8Property(WindowId window, const char* property)
{
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom name = XInternAtom(m_display, property, False);
    const Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
    if (XGetWindowProperty(m_display, window, name, 0, 1024, False, utf8, &actualType, &format, &count, &after, &data) != Success)
        return std::nullopt;
    std::optional<std::string> result;
    if (data && actualType == utf8 && format == 8)
        result = std::string(reinterpret_cast<const char*>(data), count);
    if (data)
        XFree(data);
    return result;
}

std::optional<std::string> VirtualDesktop::titleOf(WindowId window)
{
    // SDL writes WM_NAME as raw UTF-8 bytes under a Latin-1 type, so the title is read where
    // window managers read it.
    return utf8Property(window, "_NET_WM_NAME");
}

std::optional<std::string> VirtualDesktop::shownTitleOf(WindowId window)
{
    return utf8Property(window, "_NET_WM_VISIBLE_NAME");
}

std::optional<VirtualDesktop::WindowId> VirtualDesktop::activeWindow()
{
    auto active = cardinals(DefaultRootWindow(m_display), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    if (!active || active->empty() || active->front() == 0)
        return std::nullopt;
    return active->front();
}

bool VirtualDesktop::isViewable(WindowId window)
{
    XWindowAttributes attributes {};
    return XGetWindowAttributes(m_display, window, &attributes) && attributes.map_state == IsViewable;
}

std::optional<tk::Rect> VirtualDesktop::clientRect(WindowId window)
{
    XWindowAttributes attributes {};
    if (!XGetWindowAttributes(m_display, window, &attributes))
        return std::nullopt;
    int x = 0, y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(m_display, window, DefaultRootWindow(m_display), 0, 0, &x, &y, &child))
        return std::nullopt;
    return tk::Rect { x, y, attributes.width, attributes.height };
}

std::optional<VirtualDesktop::WindowId> VirtualDesktop::topLevelAncestor(WindowId window)
{
    const Window root = DefaultRootWindow(m_display);
    for (;;) {
        Window rootReturn = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(m_display, window, &rootReturn, &parent, &children, &count))
            return std::nullopt;
        if (children)
            XFree(children);
        if (parent == root || parent == 0)
            return window;
        window = parent;
    }
}

std::optional<tk::Rect> VirtualDesktop::frameRect(WindowId window)
{
    auto frame = topLevelAncestor(window);
    if (!frame)
        return std::nullopt;
    XWindowAttributes attributes {};
    if (!XGetWindowAttributes(m_display, *frame, &attributes))
        return std::nullopt;
    const int border = attributes.border_width;
    return tk::Rect { attributes.x, attributes.y, attributes.width + 2 * border, attributes.height + 2 * border };
}

std::optional<tk::FrameExtents> VirtualDesktop::frameExtents(WindowId window)
{
    auto extents = cardinals(window, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    if (!extents || extents->size() != 4)
        return std::nullopt;
    const auto& e = *extents;
    // The property's order is left, right, top, bottom.
    return tk::FrameExtents { static_cast<int>(e[0]), static_cast<int>(e[2]), static_cast<int>(e[1]), static_cast<int>(e[3]) };
}

tk::Point VirtualDesktop::pointer()
{
    Window root = 0, child = 0;
    int x = 0, y = 0, windowX = 0, windowY = 0;
    unsigned mask = 0;
    XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &child, &x, &y, &windowX, &windowY, &mask);
    return { x, y };
}

tk::Bitmap VirtualDesktop::capture(const tk::Rect& area)
{
    XImage* image = XGetImage(m_display, DefaultRootWindow(m_display), area.left, area.top, static_cast<unsigned>(area.width),
        static_cast<unsigned>(area.height), AllPlanes, ZPixmap);
    if (!image)
        throw std::runtime_error("cannot read the screen at (" + std::to_string(area.left) + ", " + std::to_string(area.top) + ")");
    const auto channel = [](unsigned long pixel, unsigned long mask) {
        const int shift = __builtin_ctzl(mask);
        const unsigned long maximum = mask >> shift;
        return static_cast<tk::Color>(((pixel & mask) >> shift) * 255 / maximum);
    };
    tk::Bitmap shot(area.width, area.height);
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            shot.setPixel(x, y,
                0xFF000000u | channel(pixel, image->red_mask) << 16 | channel(pixel, image->green_mask) << 8
                    | channel(pixel, image->blue_mask));
        }
    }
    XDestroyImage(image);
    return shot;
}

void VirtualDesktop::xdotool(const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv { "xdotool" };
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::string command;
    for (const std::string& a : argv)
        command += (command.empty() ? "" : " ") + a;
    const std::filesystem::path log = m_workDir / "xdotool.log";
    ChildProcess tool({ .argv = argv, .environment = { { "DISPLAY", m_displayName } }, .log = log });
    const std::optional<int> code = tool.waitForExit(XdotoolLimit);
    if (!code)
        throw std::runtime_error("`" + command + "` did not finish within " + std::to_string(XdotoolLimit.count()) + " s");
    if (*code != 0)
        throw std::runtime_error("`" + command + "` ended with exit code " + std::to_string(*code) + "; see " + log.string());
}

void VirtualDesktop::requestClose(WindowId window)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "_NET_CLOSE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = CurrentTime;
    event.xclient.data.l[1] = 2; // the request comes from a pager or taskbar, not an application
    XSendEvent(m_display, DefaultRootWindow(m_display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(m_display);
}

bool VirtualDesktop::endServer(int signal, std::chrono::milliseconds limit)
{
    m_connection.reset();
    m_display = nullptr;
    ::kill(m_server->pid(), signal);
    const bool gone = m_server->waitForExit(limit).has_value();
    if (gone && signal == SIGKILL) {
        // A killed server leaves its lock file and socket behind; later servers would step
        // round the display number, but there is no need to leave litter in /tmp.
        const std::string number = m_displayName.substr(1);
        std::error_code ignored;
        std::filesystem::remove("/tmp/.X" + number + "-lock", ignored);
        std::filesystem::remove("/tmp/.X11-unix/X" + number, ignored);
    }
    return gone;
}
