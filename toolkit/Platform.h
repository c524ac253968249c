#pragma once

#include "Geometry.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace tk {

class Bitmap;

// Milliseconds on a monotonic clock.
using Millis = std::int64_t;
inline constexpr Millis NoDeadline = INT64_MAX;

using WindowId = int;
inline constexpr WindowId NoWindow = 0;

enum class MouseButton { Left, Right, Middle };
enum class Key { Tab, Space, Enter, Escape, Other };

enum class Modifiers : unsigned { None = 0, Shift = 1, Ctrl = 2, Alt = 4 };
inline constexpr Modifiers operator|(Modifiers a, Modifiers b) { return Modifiers(unsigned(a) | unsigned(b)); }
inline constexpr bool has(Modifiers set, Modifiers m) { return (unsigned(set) & unsigned(m)) != 0; }

// A key that is held down comes again at the desktop's repeat rate.
enum class KeyPress { First, Repeat };

enum class CursorShape { Arrow, Drag, NoDrop };

// A main window can be resized, minimised and maximised; a dialog is a fixed-size box with
// only a close box.
enum class WindowRole { Main, Dialog };

struct WindowSpec {
    std::string title; // UTF-8
    Point outerOrigin; // screen position of the outer frame's top-left corner
    Size outerSize; // outer size, frame included
    WindowRole role = WindowRole::Main;
    const Bitmap* icon = nullptr; // may be null
};

// Input and window-system happenings, in the client coordinates of the window they concern.
struct Event {
    enum class Type {
        MouseDown,
        MouseUp,
        MouseMove,
        KeyDown,
        CloseRequested, // the user asked the window system to close the window
        Exposed, // the window's pixels were lost and must be presented again
        Resized, // new client size in size
        FocusLost, // the window lost the keyboard focus, and any pointer capture with it
        WindowSystemGone, // the display connection broke: nothing more will come
    };
    Type type = Type::MouseMove;
    WindowId window = NoWindow;
    Point pos;
    MouseButton button = MouseButton::Left;
    Key key = Key::Other;
    KeyPress press = KeyPress::First;
    Modifiers modifiers = Modifiers::None;
    Size size;
};

class PlatformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The one door between the toolkit and a window system. The toolkit draws every pixel itself;
// a backend shows frames, reports input and tells the time. All calls come from the one
// thread that runs the event loop.
class Platform {
public:
    virtual ~Platform() = default;

    // Creates and shows a top-level window. The client area is the outer size less the frame
    // that the window system reports. Throws PlatformError when the window cannot be made.
    virtual WindowId createWindow(const WindowSpec&) = 0;
    virtual void destroyWindow(WindowId) = 0;

    virtual Size clientSize(WindowId) = 0;
    // Screen position of the outer frame's top-left corner, as it is at this moment.
    virtual Point frameOrigin(WindowId) = 0;
    virtual FrameExtents frameExtents(WindowId) = 0;

    // Shows the frame in the window; only the dirty area needs to reach the screen.
    virtual void present(WindowId, const Bitmap& frame, const Rect& dirty) = 0;

    // Waits for the next event until the deadline (on the now() clock). Returns nothing when
    // the deadline passed first.
    virtual std::optional<Event> waitEvent(Millis deadline) = 0;
    virtual Millis now() = 0;

    // The pointer's position on the screen at this moment.
    virtual Point pointerScreenPosition() = 0;
    virtual void setCursor(CursorShape) = 0;
    virtual Size screenSize() = 0;

    // A number that differs from run to run, for seeding random generators.
    virtual std::uint64_t clockSeed() = 0;
};

}
