#pragma once

#include "Bitmap.h"
#include "Platform.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>

// <windows.h> stays out of this header: its macros would leak into every file that includes
// it, so the few handle types named here are only declared, the way the Windows headers
// themselves declare them.
struct HWND__;
struct HICON__;
struct HINSTANCE__;

namespace tk {

// The native Windows backend: plain Win32 windows drawn with the GDI.
//
// Contract: constructing one registers the window class and makes the cursors; it throws
// PlatformError when Windows refuses. Each window shows the last frame the toolkit presented,
// and keeps a copy of it so that it can repaint itself whenever Windows asks. Input arrives
// through the window procedure, which turns the messages the toolkit cares about into
// tk::Event values queued in this object; waitEvent hands them out one by one and sleeps in
// the message queue when there are none. A pressed button captures the pointer until every
// button is up again, and losing that capture to anybody else counts as losing the focus.
// Window ids are the backend's own small numbers, starting at 1. Only one Win32Platform may
// exist at a time, since the window class is registered for the whole process.
class Win32Platform final : public Platform {
public:
    Win32Platform();
    ~Win32Platform() override;

    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

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
    // The window procedure and the message handling behind it; defined with the rest in the
    // source file, where the Windows types are known.
    struct Messages;

    struct NativeWindow {
        HWND__* handle = nullptr;
        WindowRole role = WindowRole::Main;
        HICON__* ownIcon = nullptr; // made from the request's picture, destroyed with the window
        Bitmap lastFrame; // what the toolkit presented last, for repainting
    };

    NativeWindow* find(WindowId);
    WindowId idOf(HWND__*) const;
    void queue(Event);
    HICON__* cursorFor(CursorShape) const;

    HINSTANCE__* m_instance = nullptr;
    std::map<WindowId, NativeWindow> m_windows;
    WindowId m_nextId = 1;
    std::deque<Event> m_events;

    // The window that holds the pointer capture because one of its buttons is down. Capture
    // lost while this is set was taken away by somebody else.
    HWND__* m_captureWindow = nullptr;

    HICON__* m_classIcon = nullptr; // the program's MAINICON resource, if it has one
    HICON__* m_classSmallIcon = nullptr;
    HICON__* m_arrowCursor = nullptr;
    HICON__* m_dragCursor = nullptr; // made here, destroyed with the backend
    HICON__* m_noDropCursor = nullptr;
    CursorShape m_cursorShape = CursorShape::Arrow;
};

}
