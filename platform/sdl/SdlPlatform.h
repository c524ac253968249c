#pragma once

#include "Platform.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

// SDL stays out of every header: the toolkit and the toy must build without SDL on their
// include path, so the few SDL types named here are only declared.
struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

namespace tk {

// The SDL2 window system backend: real windows on Linux (X11 and Wayland) and macOS.
//
// Contract: constructing one initialises SDL's video subsystem and throws PlatformError with
// SDL's reason when there is no display to talk to. Each window shows frames that the toolkit
// drew; the backend only copies pixels and translates input into tk::Event values for the
// windows it made. Window ids are the backend's own small numbers, starting at 1. Only one
// SdlPlatform may exist at a time, because SDL itself is process-wide. When the connection to
// an X server breaks, the process says so on stderr and exits with code 3; Xlib allows no
// return from that situation, so no WindowSystemGone event is delivered there.
class SdlPlatform final : public Platform {
public:
    SdlPlatform();
    ~SdlPlatform() override;

    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    WindowId createWindow(const WindowSpec& request) override;
    void destroyWindow(WindowId) override;

    Size clientSize(WindowId) override;
    Point frameOrigin(WindowId) override;
    FrameExtents frameExtents(WindowId) override;

    void present(WindowId, const Bitmap& frame, const Rect& dirty) override;

    std::optional<Event> waitEvent(Millis deadline) override;
    Millis now() override;

    Point pointerScreenPosition() override;
    void setCursor(CursorShape) override;
    Size screenSize() override;

    std::uint64_t clockSeed() override;

private:
    struct WindowDeleter {
        void operator()(SDL_Window*) const;
    };
    struct CursorDeleter {
        void operator()(SDL_Cursor*) const;
    };
    using WindowHandle = std::unique_ptr<SDL_Window, WindowDeleter>;
    using CursorHandle = std::unique_ptr<SDL_Cursor, CursorDeleter>;

    struct NativeWindow {
        WindowHandle handle;
        std::uint32_t sdlId = 0; // SDL's own id, which its events carry
        WindowRole role = WindowRole::Main;
    };

    SDL_Window* handleOf(WindowId) const;
    WindowId idOfSdlWindow(std::uint32_t sdlId) const;
    void fitOuterFrame(SDL_Window*, const WindowSpec& request);
    std::optional<Event> translate(const SDL_Event&);
    void notePointer(std::uint32_t sdlId, int x, int y);

    std::map<WindowId, NativeWindow> m_windows;
    WindowId m_nextId = 1;

    // Frames seen on earlier windows, by role: the next window of that role is created at
    // the right client size straight away instead of growing or shrinking after it appears.
    std::map<WindowRole, FrameExtents> m_knownExtents;

    // The pointer's screen position as of the last mouse event; see pointerScreenPosition().
    std::optional<Point> m_pointer;

    CursorHandle m_arrowCursor;
    CursorHandle m_dragCursor;
    CursorHandle m_noDropCursor;
    CursorShape m_cursorShape = CursorShape::Arrow;
};

}
