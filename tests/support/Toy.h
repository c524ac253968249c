#pragma once

#include "DorgoMain.h"
#include "HeadlessSession.h"

#include <optional>
#include <string>

// The whole toy running on the headless backend, driven the way a person would: pointer,
// keys and the clock. Positions given to the pointer calls are in the main window's client
// area unless they say otherwise. Every call returns when the toy has settled.
class Toy {
public:
    struct Options {
        std::uint64_t seed = 1;
        std::string programPath = "Dorgo";
        tk::HeadlessPlatform::Options platform = {};
    };

    Toy();
    explicit Toy(Options options);
    // Closes the window if the toy still runs, as a person would before walking away.
    ~Toy();

    tk::HeadlessPlatform& platform() { return m_session.platform(); }
    // The toy's window object, to read what the toy holds; valid while the toy runs.
    TfrmMain& form() const;
    tk::WindowId mainWindow() const { return m_mainWindow; }

    void wait(tk::Millis ms) { platform().advance(ms); }
    void moveTo(tk::Point client);
    void moveToScreen(tk::Point screen) { platform().moveTo(screen); }
    void press(tk::MouseButton button = tk::MouseButton::Left) { platform().press(button); }
    void release(tk::MouseButton button = tk::MouseButton::Left) { platform().release(button); }
    void click(tk::Point client);
    // Moves the pointer in small steps, as a hand would.
    void glideTo(tk::Point client, int steps = 8);
    // Presses on `from`, glides to `to` and lets go there.
    void dragAndDrop(tk::Point from, tk::Point to);
    void key(tk::Key key, tk::Modifiers modifiers = tk::Modifiers::None) { platform().key(key, modifiers); }

    tk::Point screenOf(tk::Point client) const;
    static tk::Point centreOf(const tk::TControl* control);

    // What the person sees.
    tk::Bitmap frame() const; // the main window's client area as last presented
    std::optional<tk::HeadlessPlatform::WindowState> messageBox() const;
    // The face the creature shows, by the stored picture it equals ("imgSleep", ...), or "".
    std::string face() const;
    // The fish's species (1 to 5) and facing, found by the picture it shows; 0 if none matches.
    int fishSpecies() const;
    bool fishFacesLeft() const;

    bool ended() const { return m_session.ended(); }
    int exitCode() const { return m_session.exitCode(); }

private:
    tk::HeadlessSession m_session;
    tk::WindowId m_mainWindow = tk::NoWindow;
};
