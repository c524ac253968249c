#pragma once

#include "Bitmap.h"
#include "Platform.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

namespace tk {

// A window system that exists only in memory, for tests: a virtual clock that moves only when
// the driver says so, a pointer and keyboard moved by the driver, and windows whose presented
// pixels can be read back. The program runs on its own thread and calls the Platform side; a
// driver thread calls the driving side, and each driving call returns once the program has
// handled everything and waits again with nothing to do. So the two never run at once, and the
// driver always looks at a settled program.
class HeadlessPlatform final : public Platform {
public:
    struct Options {
        Size screen { 1280, 1024 };
        // What the window manager's frame adds around a main window and a dialog: as openbox
        // draws it in its default theme.
        FrameExtents mainFrame { 1, 20, 1, 5 };
        FrameExtents dialogFrame { 1, 20, 1, 5 };
        std::uint64_t seed = 1;
    };

    struct WindowState {
        WindowId id = NoWindow;
        std::string title;
        WindowRole role = WindowRole::Main;
        Point frameOrigin;
        Size clientSize;
        FrameExtents frame;
        bool hasIcon = false;
        bool open = false;
        int presents = 0;
        Point clientOrigin() const { return { frameOrigin.x + frame.left, frameOrigin.y + frame.top }; }
    };

    explicit HeadlessPlatform(Options options);

    // Platform, called from the program's thread.
    WindowId createWindow(const WindowSpec&) override;
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

    // Driving, called from the driver's thread. Each returns once the program is idle again
    // (or has ended). Positions are on the screen.
    void advance(Millis ms);
    void moveTo(Point screen);
    void press(MouseButton);
    void release(MouseButton);
    void key(Key, Modifiers, KeyPress = KeyPress::First);
    void requestClose(WindowId);
    void takeFocusAway();
    void moveWindow(WindowId, Point frameOrigin);
    void resizeWindow(WindowId, Size clientSize);
    void loseDisplay();

    // Looking, from the driver's thread while the program is idle.
    std::vector<WindowState> windows() const; // open windows, oldest first
    std::optional<WindowState> window(WindowId) const;
    // What the window shows: its client area as last presented.
    Bitmap screenshot(WindowId) const;
    Point pointer() const;
    CursorShape cursor() const;
    Millis clock() const;

    // For the session that runs the program.
    void programEnded();
    bool ended() const;

private:
    struct Input {
        enum class Kind { Move, Press, Release, Key, Close, FocusAway, Resize, Gone };
        static Input of(Kind kind, Point screen = {})
        {
            Input input;
            input.kind = kind;
            input.screen = screen;
            return input;
        }
        Kind kind = Kind::Move;
        Point screen;
        MouseButton button = MouseButton::Left;
        Key key = Key::Other;
        KeyPress press = KeyPress::First;
        Modifiers modifiers = Modifiers::None;
        WindowId window = NoWindow;
        Size size;
    };

    void post(Input);
    void settle(std::unique_lock<std::mutex>&);
    std::optional<Event> translate(const Input&);
    struct Window {
        WindowState state;
        Bitmap image;
    };

    Window* findWindow(WindowId);
    WindowState* find(WindowId);
    const WindowState* find(WindowId) const;
    WindowId windowUnder(Point screen) const;

    Options m_options;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Input> m_queue;
    Millis m_clock = 0;
    Millis m_target = 0;
    bool m_idle = false;
    bool m_ended = false;
    bool m_gone = false;

    std::map<WindowId, Window> m_windows;
    WindowId m_nextId = 1;
    WindowId m_focus = NoWindow;
    WindowId m_capture = NoWindow;
    unsigned m_buttonsHeld = 0;
    Point m_pointer;
    CursorShape m_cursor = CursorShape::Arrow;
};

}
