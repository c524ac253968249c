#include "SdlPlatform.h"

#include "Bitmap.h"
#include "DragCursor.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

// Where SDL was built to talk to an X server and the build links libX11 (DORGO_HAVE_X11),
// the toy talks a little Xlib too; see the end of this file. Wayland-only builds and macOS
// go without.
#if defined(DORGO_HAVE_X11) && defined(SDL_VIDEO_DRIVER_X11)
#define DORGO_SDL_WITH_XLIB 1
#endif

namespace tk {

namespace {

// How long createWindow waits for the window manager to tell the frame it put around a new
// window. Openbox answers within about ten milliseconds; without a window manager nobody
// answers, and the window keeps the size it was created with.
constexpr Millis FrameWaitLimit = 500;
constexpr Uint32 FramePollInterval = 2;


std::string sdlReason(std::string_view what)
{
    return std::string(what) + ": " + SDL_GetError();
}

Modifiers modifiersOf(Uint16 sdlMods)
{
    Modifiers mods = Modifiers::None;
    if (sdlMods & KMOD_SHIFT)
        mods = mods | Modifiers::Shift;
    if (sdlMods & KMOD_CTRL)
        mods = mods | Modifiers::Ctrl;
    if (sdlMods & KMOD_ALT)
        mods = mods | Modifiers::Alt;
    return mods;
}

std::optional<MouseButton> buttonOf(Uint8 sdlButton)
{
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return MouseButton::Left;
    case SDL_BUTTON_RIGHT:
        return MouseButton::Right;
    case SDL_BUTTON_MIDDLE:
        return MouseButton::Middle;
    default:
        return std::nullopt;
    }
}

Key keyOf(SDL_Keycode sym)
{
    switch (sym) {
    case SDLK_TAB:
        return Key::Tab;
    case SDLK_SPACE:
        return Key::Space;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return Key::Enter;
    case SDLK_ESCAPE:
        return Key::Escape;
    default:
        return Key::Other;
    }
}

// Nothing when SDL cannot tell the frame on this window system (Wayland, where the program
// draws its own frame or none).
std::optional<FrameExtents> reportedBorders(SDL_Window* window)
{
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) != 0)
        return std::nullopt;
    return FrameExtents { left, top, right, bottom };
}

// A frame nobody reports counts as none, which is what such a window looks like from inside.
FrameExtents bordersOf(SDL_Window* window)
{
    return reportedBorders(window).value_or(FrameExtents {});
}

bool isZero(const FrameExtents& e)
{
    return e == FrameExtents {};
}

Size clientSizeFor(Size outer, const FrameExtents& e)
{
    return { std::max(1, outer.width - e.left - e.right), std::max(1, outer.height - e.top - e.bottom) };
}

// Defined at the end of this file, where the Xlib header cannot clash with the toolkit's
// names.
void installDisplayLossHandler();
void installErrorFilter();
void offerOnlyCloseBox(SDL_Window*);

}

void SdlPlatform::WindowDeleter::operator()(SDL_Window* window) const
{
    SDL_DestroyWindow(window);
}

void SdlPlatform::CursorDeleter::operator()(SDL_Cursor* cursor) const
{
    SDL_FreeCursor(cursor);
}

SdlPlatform::SdlPlatform()
{
    // The window-surface path would otherwise load a GL driver only to copy pixels, which
    // costs about ninety megabytes of memory for nothing.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The first click on an inactive window must reach the toy, as on other desktop programs.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // A small toy has no business switching the desktop compositor off or keeping the
    // screen awake.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // SDL would turn SIGINT and SIGTERM into SDL_QUIT, which this backend ignores because the
    // toolkit decides about closing window by window; the signals keep their usual effect.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");

    installErrorFilter();
    // Only video: the joystick and haptic subsystems can take a second or more to start.
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::string reason = SDL_GetError();
        SDL_Quit();
        throw PlatformError(reason);
    }

    // When no real window system answers, SDL 2.26 quietly falls back to drivers that draw
    // into memory only, and the toy would run where nobody can see it. Those drivers are
    // only right when someone asked for them by name (SDL_VIDEODRIVER), as tests may do.
    const std::string_view driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    const char* requested = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    const bool invisible = driver.empty() || driver == "offscreen" || driver == "dummy" || driver == "evdev";
    if (invisible && !(requested && *requested)) {
        SDL_Quit();
        throw PlatformError("no window system to show windows on (DISPLAY or WAYLAND_DISPLAY must name a running one)");
    }

    // The toy reads keys, never text. With text input on, an input method could swallow
    // Space and Enter while it composes.
    SDL_StopTextInput();

    if (driver == "x11")
        installDisplayLossHandler();

    // A missing cursor is no reason to refuse to start: setCursor then leaves the pointer as
    // it is.
    m_arrowCursor.reset(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW));
    m_noDropCursor.reset(SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_NO));

    const Bitmap drag = dragCursorPicture();
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Color*>(drag.data()), drag.width(),
        drag.height(), 32, drag.pitchBytes(), SDL_PIXELFORMAT_ARGB8888);
    if (surface) {
        m_dragCursor.reset(SDL_CreateColorCursor(surface, 0, 0));
        SDL_FreeSurface(surface);
    }
}

SdlPlatform::~SdlPlatform()
{
    // Everything SDL made must go before SDL itself does.
    m_windows.clear();
    m_arrowCursor.reset();
    m_dragCursor.reset();
    m_noDropCursor.reset();
    SDL_Quit();
}

WindowId SdlPlatform::createWindow(const WindowSpec& request)
{
    // Created hidden, so that the window manager sees what kind of window it is (icon,
    // owner, buttons) before it first puts a frame around it.
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (request.role == WindowRole::Main)
        flags |= SDL_WINDOW_RESIZABLE;

    // A dialog tells the window manager what it is, so that it gets no maximise button. The
    // hint is read when SDL creates the window.
    SDL_SetHint(SDL_HINT_X11_WINDOW_TYPE,
        request.role == WindowRole::Dialog ? "_NET_WM_WINDOW_TYPE_DIALOG" : "_NET_WM_WINDOW_TYPE_NORMAL");

    // The frame is unknown until the window manager has put one around the window, so the
    // first window of each role starts with the whole outer size as its client area and is
    // corrected in fitOuterFrame. With openbox, the position given here is where the outer
    // frame's top-left corner goes.
    const auto known = m_knownExtents.find(request.role);
    const Size guess = clientSizeFor(request.outerSize, known != m_knownExtents.end() ? known->second : FrameExtents {});
    WindowHandle handle(SDL_CreateWindow(request.title.c_str(), request.outerOrigin.x, request.outerOrigin.y,
        guess.width, guess.height, flags));
    if (!handle)
        throw PlatformError(sdlReason("cannot create the window \"" + request.title + "\""));
    SDL_Window* window = handle.get();

    if (request.icon && !request.icon->empty()) {
        const Bitmap& icon = *request.icon;
        // SDL only reads the pixels while setting the icon, so borrowing them is safe.
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Color*>(icon.data()), icon.width(),
            icon.height(), 32, icon.pitchBytes(), SDL_PIXELFORMAT_ARGB8888);
        if (surface) {
            SDL_SetWindowIcon(window, surface);
            SDL_FreeSurface(surface);
        }
    }

    if (request.role == WindowRole::Dialog) {
        // The first main window still open is the one a dialog belongs to; the window
        // manager keeps the dialog above it. Where SDL cannot link the two, the dialog simply
        // stands on its own.
        for (const auto& [id, other] : m_windows) {
            if (other.role == WindowRole::Main) {
                SDL_SetWindowModalFor(window, other.handle.get());
                break;
            }
        }
        offerOnlyCloseBox(window);
    }

    SDL_ShowWindow(window);
    fitOuterFrame(window, request);

    const WindowId id = m_nextId++;
    m_windows.emplace(id, NativeWindow { std::move(handle), SDL_GetWindowID(window), request.role });
    return id;
}

void SdlPlatform::fitOuterFrame(SDL_Window* window, const WindowSpec& request)
{
    // The window manager announces the frame a moment after the window is mapped. Pumping
    // keeps every event that arrives meanwhile in SDL's queue for waitEvent.
    std::optional<FrameExtents> reported = reportedBorders(window);
    const Millis start = now();
    while (reported && isZero(*reported) && now() - start < FrameWaitLimit) {
        SDL_Delay(FramePollInterval);
        SDL_PumpEvents();
        reported = reportedBorders(window);
    }
    const FrameExtents extents = reported.value_or(FrameExtents {});
    m_knownExtents[request.role] = extents;

    const Size wanted = clientSizeFor(request.outerSize, extents);
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    if (width != wanted.width || height != wanted.height)
        SDL_SetWindowSize(window, wanted.width, wanted.height);

    // SDL positions are client positions. Window managers that place the frame somewhere
    // else than asked get the client origin that puts the frame where it belongs.
    int x = 0, y = 0;
    SDL_GetWindowPosition(window, &x, &y);
    const Point frame { x - extents.left, y - extents.top };
    if (frame != request.outerOrigin)
        SDL_SetWindowPosition(window, request.outerOrigin.x + extents.left, request.outerOrigin.y + extents.top);
}

void SdlPlatform::destroyWindow(WindowId id)
{
    m_windows.erase(id);
}

SDL_Window* SdlPlatform::handleOf(WindowId id) const
{
    auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : it->second.handle.get();
}

WindowId SdlPlatform::idOfSdlWindow(std::uint32_t sdlId) const
{
    for (const auto& [id, window] : m_windows) {
        if (window.sdlId == sdlId)
            return id;
    }
    return NoWindow;
}

Size SdlPlatform::clientSize(WindowId id)
{
    SDL_Window* window = handleOf(id);
    if (!window)
        return {};
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    return { width, height };
}

Point SdlPlatform::frameOrigin(WindowId id)
{
    SDL_Window* window = handleOf(id);
    if (!window)
        return {};
    int x = 0, y = 0;
    SDL_GetWindowPosition(window, &x, &y);
    const FrameExtents extents = bordersOf(window);
    return { x - extents.left, y - extents.top };
}

FrameExtents SdlPlatform::frameExtents(WindowId id)
{
    SDL_Window* window = handleOf(id);
    return window ? bordersOf(window) : FrameExtents {};
}

void SdlPlatform::present(WindowId id, const Bitmap& frame, const Rect& dirty)
{
    SDL_Window* window = handleOf(id);
    if (!window)
        return;
    // SDL hands out a new surface after every resize; asking each time is cheap and never
    // leaves a stale one in hand.
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (!surface)
        return;

    // Right after a resize the frame and the surface can differ in size until the toolkit
    // has drawn again; only the part that both have is copied.
    const Rect area = dirty.intersected(frame.rect()).intersected({ 0, 0, surface->w, surface->h });
    if (area.empty())
        return;

    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0)
        return;
    auto* target = static_cast<Uint8*>(surface->pixels);
    const Uint32 format = surface->format->format;
    if (format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888) {
        // The toolkit's own layout. Alpha is forced opaque so that a window with an alpha
        // channel never lets the desktop show through.
        for (int y = area.top; y < area.bottom(); ++y) {
            const Color* from = frame.row(y) + area.left;
            auto* to = reinterpret_cast<Uint32*>(target + static_cast<std::size_t>(y) * surface->pitch) + area.left;
            for (int x = 0; x < area.width; ++x)
                to[x] = from[x] | 0xFF000000u;
        }
    } else {
        const int bytesPerPixel = surface->format->BytesPerPixel;
        SDL_ConvertPixels(area.width, area.height, SDL_PIXELFORMAT_ARGB8888, frame.row(area.top) + area.left,
            frame.pitchBytes(), format,
            target + static_cast<std::size_t>(area.top) * surface->pitch + static_cast<std::size_t>(area.left) * bytesPerPixel,
            surface->pitch);
    }
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);

    const SDL_Rect rect { area.left, area.top, area.width, area.height };
    SDL_UpdateWindowSurfaceRects(window, &rect, 1);
}

std::optional<Event> SdlPlatform::waitEvent(Millis deadline)
{
    // SDL sleeps in the window system's connection until something arrives or the time is
    // up, so an idle toy uses no processor time. Events the toolkit has no use for are
    // dropped here and the wait goes on until the same deadline.
    SDL_Event sdlEvent;
    for (;;) {
        int got = 0;
        if (deadline == NoDeadline) {
            got = SDL_WaitEvent(&sdlEvent);
        } else {
            const Millis left = std::clamp<Millis>(deadline - now(), 0, INT_MAX);
            got = SDL_WaitEventTimeout(&sdlEvent, static_cast<int>(left));
        }
        if (got) {
            if (std::optional<Event> event = translate(sdlEvent))
                return event;
            continue;
        }
        if (deadline != NoDeadline && now() >= deadline)
            return std::nullopt;
    }
}

void SdlPlatform::notePointer(std::uint32_t sdlId, int x, int y)
{
    // SDL's global mouse state lags behind synthetic input on some X servers, while the
    // coordinates in mouse events are exact. The window's client origin turns them into
    // screen coordinates; it is taken now, while the event is fresh.
    SDL_Window* window = SDL_GetWindowFromID(sdlId);
    if (!window)
        return;
    int left = 0, top = 0;
    SDL_GetWindowPosition(window, &left, &top);
    m_pointer = Point { left + x, top + y };
}

std::optional<Event> SdlPlatform::translate(const SDL_Event& sdlEvent)
{
    Event event;
    switch (sdlEvent.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const SDL_MouseButtonEvent& b = sdlEvent.button;
        notePointer(b.windowID, b.x, b.y);
        const std::optional<MouseButton> button = buttonOf(b.button);
        event.window = idOfSdlWindow(b.windowID);
        if (!button || event.window == NoWindow)
            return std::nullopt;
        event.type = sdlEvent.type == SDL_MOUSEBUTTONDOWN ? Event::Type::MouseDown : Event::Type::MouseUp;
        event.button = *button;
        event.pos = { b.x, b.y };
        event.modifiers = modifiersOf(static_cast<Uint16>(SDL_GetModState()));
        return event;
    }
    case SDL_MOUSEMOTION: {
        // While a button is held this keeps coming from outside the window too, in the same
        // window's coordinates, which is what dragging past the edge needs.
        const SDL_MouseMotionEvent& m = sdlEvent.motion;
        notePointer(m.windowID, m.x, m.y);
        event.window = idOfSdlWindow(m.windowID);
        if (event.window == NoWindow)
            return std::nullopt;
        event.type = Event::Type::MouseMove;
        event.pos = { m.x, m.y };
        event.modifiers = modifiersOf(static_cast<Uint16>(SDL_GetModState()));
        return event;
    }
    case SDL_KEYDOWN: {
        const SDL_KeyboardEvent& k = sdlEvent.key;
        event.window = idOfSdlWindow(k.windowID);
        if (event.window == NoWindow)
            return std::nullopt;
        event.type = Event::Type::KeyDown;
        event.key = keyOf(k.keysym.sym);
        event.press = k.repeat ? KeyPress::Repeat : KeyPress::First;
        event.modifiers = modifiersOf(k.keysym.mod);
        return event;
    }
    case SDL_WINDOWEVENT: {
        const SDL_WindowEvent& w = sdlEvent.window;
        event.window = idOfSdlWindow(w.windowID);
        if (event.window == NoWindow)
            return std::nullopt;
        switch (w.event) {
        case SDL_WINDOWEVENT_CLOSE:
            event.type = Event::Type::CloseRequested;
            return event;
        case SDL_WINDOWEVENT_EXPOSED:
            event.type = Event::Type::Exposed;
            return event;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            event.type = Event::Type::Resized;
            event.size = { w.data1, w.data2 };
            return event;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // SDL2 reports no separate loss of the pointer grab; losing the focus is the
            // occasion on which the window system takes it away.
            event.type = Event::Type::FocusLost;
            return event;
        default:
            return std::nullopt;
        }
    }
    default:
        // SDL_QUIT among them: it concerns no particular window, and the toolkit decides
        // about each window's close request on its own.
        return std::nullopt;
    }
}

Millis SdlPlatform::now()
{
    return static_cast<Millis>(SDL_GetTicks64());
}

Point SdlPlatform::pointerScreenPosition()
{
    if (m_pointer)
        return *m_pointer;
    // Before any mouse event has come, SDL's own idea is all there is.
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    return { x, y };
}

void SdlPlatform::setCursor(CursorShape shape)
{
    if (shape == m_cursorShape)
        return;
    SDL_Cursor* cursor = nullptr;
    switch (shape) {
    case CursorShape::Arrow:
        cursor = m_arrowCursor.get();
        break;
    case CursorShape::Drag:
        cursor = m_dragCursor.get();
        break;
    case CursorShape::NoDrop:
        cursor = m_noDropCursor.get();
        break;
    }
    if (!cursor)
        return;
    SDL_SetCursor(cursor);
    m_cursorShape = shape;
}

Size SdlPlatform::screenSize()
{
    SDL_Rect bounds {};
    if (SDL_GetDisplayBounds(0, &bounds) != 0)
        throw PlatformError(sdlReason("cannot read the screen size"));
    return { bounds.w, bounds.h };
}

std::uint64_t SdlPlatform::clockSeed()
{
    // Wall time differs between runs started in different seconds; the performance counter
    // differs between runs started within the same one.
    const auto wall = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    std::uint64_t z = wall ^ (SDL_GetPerformanceCounter() * 0x9E3779B97F4A7C15ull);
    // The splitmix64 finaliser spreads the few changing low bits over the whole number.
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}

// Xlib's header defines macros such as None and CursorShape that would break the toolkit's
// enums, so it comes last, after every use of those names.
#if DORGO_SDL_WITH_XLIB
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#endif

namespace tk {
namespace {

#if DORGO_SDL_WITH_XLIB
// Xlib calls this when the connection to the X server breaks, and exits the process if it
// returns, with a message that does not name the program. Nothing can be drawn or read any
// more, and no cleanup is safe on a dead connection, so the toy says what happened in its own
// words and leaves at once.
int onDisplayConnectionLost(Display*)
{
    std::fputs("dorgo: the window system went away (lost the connection to the display)\n", stderr);
    std::fflush(stderr);
    std::_Exit(3);
}

// The handler is process-wide, as Xlib keeps one for all connections, and SDL's connection
// is the only one the toy has. It stays in place after SDL has quit, where it does no harm.
void installDisplayLossHandler()
{
    XSetIOErrorHandler(&onDisplayConnectionLost);
}

// While it waits for events, SDL wakes itself by sending an event to one of its windows over a
// second connection. When that window has just been closed, the server answers BadWindow, and
// Xlib's default handler ends the process with exit code 1: closing the message box, or the
// main window, could kill the toy. That one error is harmless and is dropped; every other goes
// on to the handler that was there before. Xlib's handler is a plain function, so the previous
// one can only be kept in a variable of this file. It is installed before SDL_Init, because
// SDL puts back the handler it found at init just before it closes that second connection.
XErrorHandler previousErrorHandler = nullptr;

int onXError(Display* display, XErrorEvent* error)
{
    if (error->error_code == BadWindow && error->request_code == X_SendEvent)
        return 0;
    return previousErrorHandler ? previousErrorHandler(display, error) : 0;
}

void installErrorFilter()
{
    previousErrorHandler = XSetErrorHandler(&onXError);
}

// SDL has no way to ask for a window with only a close box. Most window managers on X read
// the Motif hints for that, so a dialog sets them itself: it can be moved and closed, and its
// frame has a title and a border, but no minimise or maximise button. Openbox keeps its
// buttons whatever the hints say; there the dialog is only kept from being maximised,
// because its size is fixed.
void offerOnlyCloseBox(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return;

    // The property's layout and bits, as the Motif window manager defined them.
    constexpr unsigned long HintsFunctions = 1ul << 0;
    constexpr unsigned long HintsDecorations = 1ul << 1;
    constexpr unsigned long FunctionMove = 1ul << 2;
    constexpr unsigned long FunctionClose = 1ul << 5;
    constexpr unsigned long DecorationBorder = 1ul << 1;
    constexpr unsigned long DecorationTitle = 1ul << 3;
    constexpr unsigned long DecorationMenu = 1ul << 4;
    const unsigned long hints[5] = {
        HintsFunctions | HintsDecorations,
        FunctionMove | FunctionClose,
        DecorationBorder | DecorationTitle | DecorationMenu,
        0, // input mode
        0, // status
    };
    Display* display = info.info.x11.display;
    const Atom property = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, info.info.x11.window, property, property, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(hints), 5);
}
#else
void installDisplayLossHandler()
{
}

void installErrorFilter()
{
}

void offerOnlyCloseBox(SDL_Window*)
{
}
#endif

}
}
