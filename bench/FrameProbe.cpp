// frame_probe: watches what reaches a real X window, for bench/run.sh.
//
//   frame_probe launch [--timeout-ms N] -- PROGRAM [ARGS...]
//       Starts PROGRAM and prints, one per line as soon as known:
//         pid PID
//         window ID CLIENT_X CLIENT_Y WIDTH HEIGHT
//         first_frame_us MICROSECONDS
//       The first frame is the first moment one of the program's top-level windows holds more
//       than one colour on the screen: a plain background does not count, the program's own
//       picture does. The window is looked at whenever an X DAMAGE report says the program drew
//       into it, and when it is exposed or mapped, because a picture that is the window's
//       background (oneko's cat) is painted by the server, which damage does not report. The
//       server must have a plain root (Xvfb -br), or a window that has not drawn yet would show
//       the root's pattern. The time runs from just before the program is started to the moment
//       the event arrives here. The probe then stays as the program's parent until the program ends; a SIGTERM
//       or SIGINT sent to the probe is passed on to the program.
//
//   frame_probe count WINDOW
//       Counts the damage reports (one per burst of drawing, so about one per presented frame)
//       on WINDOW until SIGTERM or SIGINT, then prints "frames N".
//
//   frame_probe drag WINDOW PRESS_X PRESS_Y FROM_X TO_X ROW_Y STEP RATE_HZ SECONDS
//       Client coordinates. Presses button 1 at the press point, then moves the pointer back
//       and forth along ROW_Y between FROM_X and TO_X in STEP pixels, RATE_HZ moves a second,
//       for SECONDS, and releases. Each move is sent with XTEST and then the probe waits for
//       the window's next damage report; the time between the two is one latency sample.
//       Prints "moves N frames N median_us U p90_us U max_us U".
//
// Which window belongs to which process is asked of the X server (X-Resource extension), so
// programs that do not set _NET_WM_PID are found too.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

volatile sig_atomic_t g_stop = 0;
volatile pid_t g_child = 0;

void onStopSignal(int sig)
{
    g_stop = 1;
    if (g_child > 0)
        kill(g_child, sig);
}

void installStopHandlers()
{
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    // No SA_RESTART: a blocking poll or waitpid must return so the flag is seen.
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
}

// Windows go away and change state under the probe's feet (a program may destroy a window
// between the report and the probe's question about it); such errors only mean "not this one".
int g_lastError = 0;
int ignoreXError(Display*, XErrorEvent* e)
{
    g_lastError = e->error_code;
    return 0;
}

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "frame_probe: %s\n", what);
    std::exit(2);
}

struct Connection {
    Display* display = nullptr;
    int damageEventBase = 0;

    Connection()
    {
        display = XOpenDisplay(nullptr);
        if (!display)
            fail("cannot open the display named by DISPLAY");
        // The program started by "launch" must not inherit the probe's connection.
        fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);
        int errorBase = 0;
        if (!XDamageQueryExtension(display, &damageEventBase, &errorBase))
            fail("the X server has no DAMAGE extension");
        XSetErrorHandler(ignoreXError);
    }
    ~Connection() { XCloseDisplay(display); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Window root() const { return DefaultRootWindow(display); }
    bool isDamage(const XEvent& e) const { return e.type == damageEventBase + XDamageNotify; }

    // The next event, or nothing when the deadline passes or a stop signal arrives. The time
    // is taken when the event is read from the connection, which is when it arrived as long
    // as the probe was waiting here.
    std::optional<XEvent> next(Clock::time_point deadline, Clock::time_point& arrived)
    {
        for (;;) {
            if (XEventsQueued(display, QueuedAfterReading) > 0) {
                arrived = Clock::now();
                XEvent e;
                XNextEvent(display, &e);
                return e;
            }
            if (g_stop)
                return std::nullopt;
            // Requests such as XDamageSubtract must reach the server before waiting, or the
            // report they re-arm never comes.
            XFlush(display);
            const auto left = deadline - Clock::now();
            if (left <= Clock::duration::zero())
                return std::nullopt;
            const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
            timespec timeout { static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000) };
            pollfd fd { ConnectionNumber(display), POLLIN, 0 };
            ppoll(&fd, 1, &timeout, nullptr);
        }
    }
};

std::optional<pid_t> ownerOf(Display* display, Window window)
{
    XResClientIdSpec clientSpec { window, XRES_CLIENT_ID_PID_MASK };
    long count = 0;
    XResClientIdValue* values = nullptr;
    if (XResQueryClientIds(display, 1, &clientSpec, &count, &values) != Success)
        return std::nullopt;
    std::optional<pid_t> pid;
    for (long i = 0; i < count; ++i) {
        if (pid_t p = XResGetClientPid(&values[i]); p > 0)
            pid = p;
    }
    XResClientIdsDestroy(count, values);
    return pid;
}

// True when the window, as it is on the screen now, shows more than one colour.
bool showsAPicture(Display* display, Window window)
{
    XWindowAttributes attributes;
    g_lastError = 0;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable)
        return false;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
        static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image)
        return false;
    const unsigned long colourBits = image->red_mask | image->green_mask | image->blue_mask;
    const unsigned long first = XGetPixel(image, 0, 0) & colourBits;
    bool varied = false;
    for (int y = 0; y < image->height && !varied; ++y) {
        for (int x = 0; x < image->width; ++x) {
            if ((XGetPixel(image, x, y) & colourBits) != first) {
                varied = true;
                break;
            }
        }
    }
    XDestroyImage(image);
    return varied;
}

struct ClientArea {
    int x = 0, y = 0, width = 0, height = 0;
};

std::optional<ClientArea> clientArea(Display* display, Window window)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return std::nullopt;
    Window child = 0;
    ClientArea area { 0, 0, attributes.width, attributes.height };
    if (!XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &area.x, &area.y, &child))
        return std::nullopt;
    return area;
}

long long micros(Clock::duration d)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(d).count();
}

int launch(int argc, char** argv)
{
    long timeoutMs = 15000;
    int i = 0;
    for (; i < argc; ++i) {
        if (std::strcmp(argv[i], "--timeout-ms") == 0 && i + 1 < argc)
            timeoutMs = std::strtol(argv[++i], nullptr, 10);
        else if (std::strcmp(argv[i], "--") == 0) {
            ++i;
            break;
        }
    }
    if (i >= argc)
        fail("launch: no program given after --");
    char** program = argv + i;

    Connection x;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XResQueryExtension(x.display, &eventBase, &errorBase) || !XResQueryVersion(x.display, &major, &minor)
        || major * 100 + minor < 102)
        fail("the X server has no X-Resource extension 1.2 or later");

    // Watching the root's children before the program starts means no window of its can be
    // created unseen.
    XSelectInput(x.display, x.root(), SubstructureNotifyMask);
    XSync(x.display, False);

    installStopHandlers();
    std::fflush(stdout);
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0)
        fail("cannot fork");
    if (child == 0) {
        execvp(program[0], program);
        std::fprintf(stderr, "frame_probe: cannot start %s: %s\n", program[0], std::strerror(errno));
        _exit(127);
    }
    g_child = child;
    std::printf("pid %d\n", static_cast<int>(child));
    std::fflush(stdout);

    std::map<Window, Damage> watched;
    const Clock::time_point deadline = start + std::chrono::milliseconds(timeoutMs);
    bool seen = false;
    while (!seen) {
        Clock::time_point arrived;
        std::optional<XEvent> e = x.next(deadline, arrived);
        if (!e)
            break;
        if (e->type == CreateNotify && e->xcreatewindow.parent == x.root()) {
            const Window w = e->xcreatewindow.window;
            if (ownerOf(x.display, w) == child) {
                watched.emplace(w, XDamageCreate(x.display, w, XDamageReportNonEmpty));
                XSelectInput(x.display, w, ExposureMask);
            }
            continue;
        }
        Window shown = None;
        if (x.isDamage(*e)) {
            const auto& d = reinterpret_cast<const XDamageNotifyEvent&>(*e);
            if (!watched.contains(d.drawable))
                continue;
            // Re-arm first: whatever is drawn from here on gives a fresh report.
            XDamageSubtract(x.display, d.damage, None, None);
            if (showsAPicture(x.display, d.drawable))
                shown = d.drawable;
        } else if (e->type == Expose && e->xexpose.count == 0 && watched.contains(e->xexpose.window)) {
            if (showsAPicture(x.display, e->xexpose.window))
                shown = e->xexpose.window;
        } else if (e->type == MapNotify) {
            // A window whose whole picture is its background (oneko's cat) gets it from the
            // window system when it is mapped, which no damage report tells.
            for (const auto& [w, damage] : watched) {
                if (showsAPicture(x.display, w)) {
                    shown = w;
                    break;
                }
            }
        }
        if (shown != None) {
            if (std::optional<ClientArea> a = clientArea(x.display, shown))
                std::printf("window 0x%lx %d %d %d %d\n", shown, a->x, a->y, a->width, a->height);
            std::printf("first_frame_us %lld\n", micros(arrived - start));
            std::fflush(stdout);
            seen = true;
        }
    }
    for (auto& [w, damage] : watched)
        XDamageDestroy(x.display, damage);
    XSync(x.display, False);

    if (!seen) {
        std::fprintf(stderr, "frame_probe: %s showed no picture within %ld ms\n", program[0], timeoutMs);
        kill(child, SIGTERM);
    }
    // Stay the program's parent so that it is reaped, whoever ends it.
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    return seen ? 0 : 1;
}

Window parseWindow(const char* text)
{
    char* end = nullptr;
    const unsigned long w = std::strtoul(text, &end, 0);
    if (!end || *end != '\0' || w == 0)
        fail("not a window id");
    return static_cast<Window>(w);
}

int count(int argc, char** argv)
{
    if (argc != 1)
        fail("usage: frame_probe count WINDOW");
    const Window window = parseWindow(argv[0]);
    Connection x;
    installStopHandlers();
    const Damage damage = XDamageCreate(x.display, window, XDamageReportNonEmpty);
    XSync(x.display, False);
    // Ready: the caller may start drawing now.
    std::printf("ready\n");
    std::fflush(stdout);
    long frames = 0;
    const Clock::time_point forever = Clock::now() + std::chrono::hours(24);
    while (!g_stop) {
        Clock::time_point arrived;
        std::optional<XEvent> e = x.next(forever, arrived);
        if (e && x.isDamage(*e)) {
            ++frames;
            XDamageSubtract(x.display, damage, None, None);
        }
    }
    std::printf("frames %ld\n", frames);
    std::fflush(stdout);
    return 0;
}

int drag(int argc, char** argv)
{
    if (argc != 9)
        fail("usage: frame_probe drag WINDOW PRESS_X PRESS_Y FROM_X TO_X ROW_Y STEP RATE_HZ SECONDS");
    const Window window = parseWindow(argv[0]);
    const int pressX = std::atoi(argv[1]), pressY = std::atoi(argv[2]);
    const int fromX = std::atoi(argv[3]), toX = std::atoi(argv[4]), rowY = std::atoi(argv[5]);
    const int step = std::max(1, std::atoi(argv[6]));
    const double rate = std::atof(argv[7]), seconds = std::atof(argv[8]);
    if (rate <= 0 || seconds <= 0 || fromX >= toX)
        fail("drag: bad rate, duration or range");

    Connection x;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(x.display, &eventBase, &errorBase, &major, &minor))
        fail("the X server has no XTEST extension");
    installStopHandlers();
    const std::optional<ClientArea> area = clientArea(x.display, window);
    if (!area)
        fail("drag: no such window");
    const Damage damage = XDamageCreate(x.display, window, XDamageReportNonEmpty);

    auto drain = [&](Clock::time_point until) {
        Clock::time_point arrived;
        while (std::optional<XEvent> e = x.next(until, arrived)) {
            if (x.isDamage(*e))
                XDamageSubtract(x.display, damage, None, None);
        }
    };

    XTestFakeMotionEvent(x.display, -1, area->x + pressX, area->y + pressY, CurrentTime);
    XTestFakeButtonEvent(x.display, 1, True, CurrentTime);
    XSync(x.display, False);
    drain(Clock::now() + std::chrono::milliseconds(50));

    const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / rate));
    const long moves = std::lround(rate * seconds);
    std::vector<long long> samples;
    samples.reserve(static_cast<std::size_t>(moves));
    int px = std::clamp(pressX, fromX, toX), dx = -step;
    Clock::time_point tick = Clock::now();
    long sent = 0;
    for (; sent < moves && !g_stop; ++sent) {
        tick += period;
        // Frames that were not asked for (a timer's) are cleared away before the next move,
        // so that the report waited for is the one this move causes.
        drain(tick);
        XDamageSubtract(x.display, damage, None, None);
        if (px + dx < fromX || px + dx > toX)
            dx = -dx;
        px += dx;
        XTestFakeMotionEvent(x.display, -1, area->x + px, area->y + rowY, CurrentTime);
        XFlush(x.display);
        const Clock::time_point moved = Clock::now();
        Clock::time_point arrived;
        while (std::optional<XEvent> e = x.next(moved + period, arrived)) {
            if (x.isDamage(*e)) {
                samples.push_back(micros(arrived - moved));
                break;
            }
        }
    }
    XTestFakeButtonEvent(x.display, 1, False, CurrentTime);
    XDamageDestroy(x.display, damage);
    XSync(x.display, False);

    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) -> long long {
        if (samples.empty())
            return -1;
        return samples[std::min(samples.size() - 1, static_cast<std::size_t>(q * static_cast<double>(samples.size())))];
    };
    long long median = -1;
    if (!samples.empty()) {
        const std::size_t n = samples.size();
        median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    }
    std::printf("moves %ld frames %zu median_us %lld p90_us %lld max_us %lld\n", sent, samples.size(), median, at(0.9),
        samples.empty() ? -1 : samples.back());
    return 0;
}

}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: frame_probe launch|count|drag ...\n");
        return 2;
    }
    const std::string mode = argv[1];
    if (mode == "launch")
        return launch(argc - 2, argv + 2);
    if (mode == "count")
        return count(argc - 2, argv + 2);
    if (mode == "drag")
        return drag(argc - 2, argv + 2);
    std::fprintf(stderr, "frame_probe: unknown mode %s\n", mode.c_str());
    return 2;
}
