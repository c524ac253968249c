// The toy against a reference model of its rules, over long random sequences of what a person
// (and the desktop) can do. The model below is written from the toy's rules, not from its
// code: it keeps its own state, timers, hit testing and drag, and after every step the toy's
// visible state must equal the model's. A failure is cut down to the shortest sequence that
// still fails and printed with its seed.

#include "TMessageForm.h"
#include "Toy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <sstream>

using namespace tk;

namespace {

// ---- What can happen ----

struct Action {
    enum class Kind { Move, Press, Release, Key, ClickButton, MoveWindow, ResizeWindow, Wait, CloseBox, FocusAway };
    Kind kind = Kind::Wait;
    Point at; // client position for Move, window origin for MoveWindow, client size for ResizeWindow
    MouseButton button = MouseButton::Left;
    Key key = Key::Other;
    Modifiers modifiers = Modifiers::None;
    int which = 0; // ClickButton: 0 end, 1 show; CloseBox: 0 main window, 1 message box
    Millis ms = 0;
};

std::string describe(const Action& a)
{
    static const char* const buttons[] = { "left", "right", "middle" };
    static const char* const keys[] = { "Tab", "Space", "Enter", "Escape", "other" };
    std::ostringstream out;
    switch (a.kind) {
    case Action::Kind::Move: out << "move to (" << a.at.x << ", " << a.at.y << ")"; break;
    case Action::Kind::Press: out << "press " << buttons[int(a.button)]; break;
    case Action::Kind::Release: out << "release " << buttons[int(a.button)]; break;
    case Action::Kind::Key: out << (has(a.modifiers, Modifiers::Shift) ? "Shift+" : "") << keys[int(a.key)]; break;
    case Action::Kind::ClickButton: out << "click " << (a.which ? "show" : "end") << " button"; break;
    case Action::Kind::MoveWindow: out << "move window to (" << a.at.x << ", " << a.at.y << ")"; break;
    case Action::Kind::ResizeWindow: out << "resize client to " << a.at.x << " x " << a.at.y; break;
    case Action::Kind::Wait: out << "wait " << a.ms << " ms"; break;
    case Action::Kind::CloseBox: out << "close box of " << (a.which ? "message box" : "main window"); break;
    case Action::Kind::FocusAway: out << "focus taken away"; break;
    }
    return out.str();
}

Action randomAction(std::mt19937& rng)
{
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    // Places worth aiming at: the fish's usual band, the creature, the buttons, the label,
    // the stored pictures, the title bar and outside.
    static const Rect targets[] = { { 150, 100, 180, 80 }, { 390, 140, 125, 135 }, { 395, 265, 115, 85 }, { 130, 0, 270, 20 },
        { 0, 20, 420, 360 }, { 0, -20, 573, 20 }, { -60, -60, 700, 520 } };
    Action a;
    int r = pick(100);
    if (r < 40) {
        a.kind = Action::Kind::Move;
        const Rect& t = targets[pick(int(std::size(targets)))];
        a.at = { t.left + pick(t.width), t.top + pick(t.height) };
    } else if (r < 52) {
        a.kind = Action::Kind::Press;
        a.button = pick(10) < 8 ? MouseButton::Left : pick(2) ? MouseButton::Right : MouseButton::Middle;
    } else if (r < 64) {
        a.kind = Action::Kind::Release;
        a.button = pick(10) < 8 ? MouseButton::Left : pick(2) ? MouseButton::Right : MouseButton::Middle;
    } else if (r < 72) {
        a.kind = Action::Kind::Key;
        a.key = std::array { Key::Tab, Key::Space, Key::Enter, Key::Escape, Key::Other }[std::size_t(pick(5))];
        a.modifiers = pick(4) == 0 ? Modifiers::Shift : Modifiers::None;
    } else if (r < 75) {
        a.kind = Action::Kind::ClickButton;
        a.which = pick(8) == 0 ? 0 : 1; // ending is rarer, so that sequences get somewhere
    } else if (r < 77) {
        a.kind = Action::Kind::MoveWindow;
        a.at = { 100 + pick(200), 50 + pick(150) };
    } else if (r < 78) {
        a.kind = Action::Kind::ResizeWindow;
        a.at = { 300 + pick(500), 200 + pick(400) };
    } else if (r < 97) {
        a.kind = Action::Kind::Wait;
        a.ms = pick(3) == 0 ? 1 + pick(3000) : 1 + pick(400);
    } else if (r < 99) {
        a.kind = Action::Kind::FocusAway;
    } else {
        a.kind = Action::Kind::CloseBox;
        a.which = pick(4) == 0 ? 0 : 1;
    }
    return a;
}

// ---- The reference model ----

class Model {
public:
    enum class Face { Sleep, Happy, Kutta, Angry, Weep, Gaoh, AngryOrWeep };
    enum class Spot { Outside, Surface, Creature, Fish, Label, Stored, EndButton, ShowButton };
    enum class Timer { Dorgo, Fish, Kutta };

    // Start-up, with the window's place and frame as the window system made them.
    Model(Point frameOrigin, FrameExtents frame, Size client)
        : frameOrigin(frameOrigin)
        , frame(frame)
        , client(client)
    {
        timerOn = { true, true, false };
        due = { 1000, 1000, 0 };
    }

    // What the window system knows.
    Point frameOrigin;
    FrameExtents frame;
    Size client;
    Point pointerOnScreen;
    enum class Window { None, Main, Box };
    unsigned held = 0; // mouse buttons held, one bit each
    Window capture = Window::None; // the window that got the press while buttons are held
    Window focus = Window::Main; // where keys go
    // The message box's client area and its OK button on the screen, once it is open.
    Rect boxArea;
    Rect okArea;
    bool okPressed = false;

    // What the toy shows and keeps.
    Millis now = 0;
    Face face = Face::Sleep;
    Rect fish { 240, 120, 32, 32 };
    bool fishVisible = true;
    bool facingLeft = true;
    int swimStep = -10, swimCount = 0, idleCount = 0, eatCount = 0;
    bool teased = false;
    bool storedShown = false;
    std::array<bool, 3> timerOn;
    std::array<Millis, 3> due;
    bool messageBox = false;
    bool ended = false;
    int focusedButton = 0; // 0 end button, 1 show button

    // The drag.
    enum class Drag { None, Pending, Active };
    Drag drag = Drag::None;
    Point dragStart;
    Spot dragSpot = Spot::Outside;
    int pressedButton = -1; // a push button held down with the left button: 0 end, 1 show

    void apply(const Action& a)
    {
        switch (a.kind) {
        case Action::Kind::Move: move(a.at); break;
        case Action::Kind::Press: press(a.button); break;
        case Action::Kind::Release: release(a.button); break;
        case Action::Kind::Key: key(a.key, a.modifiers); break;
        case Action::Kind::ClickButton: {
            Rect b = a.which ? showButton : endButton;
            move({ b.left + 20, b.top + 10 });
            press(MouseButton::Left);
            release(MouseButton::Left);
            break;
        }
        case Action::Kind::MoveWindow: frameOrigin = a.at; break;
        case Action::Kind::ResizeWindow: client = { a.at.x, a.at.y }; break;
        case Action::Kind::Wait: advance(now + a.ms); break;
        case Action::Kind::CloseBox:
            if (a.which == 1 && messageBox)
                closeMessage();
            else if (a.which == 0 && !messageBox)
                end();
            break;
        case Action::Kind::FocusAway:
            if (focus == Window::Main) {
                cancelDrag();
                pressedButton = -1;
            }
            okPressed = false;
            focus = Window::None;
            capture = Window::None;
            held = 0;
            break;
        }
    }

    static constexpr Rect creature { 399, 148, 106, 117 };
    static constexpr Rect label { 136, 0, 256, 18 };
    static constexpr Rect endButton { 400, 312, 105, 33 };
    static constexpr Rect showButton { 400, 272, 105, 33 };
    // The stored pictures as shown, in creation order; the label comes after them.
    static constexpr Rect stored[] = { { 12, 24, 97, 113 }, { 118, 24, 97, 113 }, { 322, 24, 97, 113 }, { 220, 24, 97, 113 },
        { 118, 142, 97, 113 }, { 48, 272, 33, 33 }, { 96, 272, 33, 33 }, { 144, 272, 33, 33 }, { 192, 272, 33, 33 },
        { 312, 320, 33, 33 }, { 360, 320, 33, 33 }, { 240, 272, 33, 33 }, { 48, 328, 33, 33 }, { 96, 328, 33, 33 },
        { 144, 328, 33, 33 }, { 192, 328, 33, 33 }, { 240, 328, 33, 33 }, { 8, 144, 97, 113 } };

private:
    // The pointer stays where it is on the screen when the window moves under it.
    Point pointer() const
    {
        return { pointerOnScreen.x - frameOrigin.x - frame.left, pointerOnScreen.y - frameOrigin.y - frame.top };
    }

    bool inClient(Point p) const { return p.x >= 0 && p.y >= 0 && p.x < client.width && p.y < client.height; }

    Spot spotAt(Point p) const
    {
        if (!inClient(p)) {
            bool onFrame = p.x >= -frame.left && p.y >= -frame.top && p.x < client.width + frame.right && p.y < client.height + frame.bottom;
            return onFrame ? Spot::Surface : Spot::Outside;
        }
        if (showButton.contains(p))
            return Spot::ShowButton;
        if (endButton.contains(p))
            return Spot::EndButton;
        if (label.contains(p))
            return Spot::Label;
        if (storedShown && std::any_of(std::begin(stored), std::end(stored), [&](const Rect& r) { return r.contains(p); }))
            return Spot::Stored;
        if (fishVisible && fish.contains(p))
            return Spot::Fish;
        if (creature.contains(p))
            return Spot::Creature;
        return Spot::Surface;
    }

    // Which window gets pointer events: the one that got the press while a button is held,
    // else the message box when the pointer is over it, else ours when over its client area.
    Window windowUnderPointer() const
    {
        if (held != 0)
            return capture;
        if (messageBox && boxArea.contains(pointerOnScreen))
            return Window::Box;
        return inClient(pointer()) ? Window::Main : Window::None;
    }

    void placeFish()
    {
        fish.left = pointerOnScreen.x - frameOrigin.x - 37;
        fish.top = pointerOnScreen.y - frameOrigin.y - 37;
    }

    // One drag-over call on a spot: returns whether it accepts.
    bool ask(Spot s)
    {
        switch (s) {
        case Spot::Surface:
        case Spot::EndButton:
        case Spot::ShowButton:
            placeFish();
            return true;
        case Spot::Creature:
            face = Face::Gaoh;
            teased = true;
            placeFish();
            return true;
        default:
            return false;
        }
    }

    void dragTo()
    {
        Spot s = spotAt(pointer());
        if (s != dragSpot) {
            ask(dragSpot);
            dragSpot = s;
            ask(s);
        }
        ask(s);
    }

    void move(Point p)
    {
        pointerOnScreen = { frameOrigin.x + frame.left + p.x, frameOrigin.y + frame.top + p.y };
        if (windowUnderPointer() != Window::Main || messageBox)
            return;
        if (drag == Drag::Pending && (std::abs(p.x - dragStart.x) >= 5 || std::abs(p.y - dragStart.y) >= 5))
            drag = Drag::Active;
        if (drag == Drag::Active)
            dragTo();
    }

    void press(MouseButton b)
    {
        Window target = windowUnderPointer();
        if (target == Window::None)
            return;
        held |= 1u << unsigned(b);
        capture = target;
        focus = target;
        if (target == Window::Box) {
            if (b == MouseButton::Left && okArea.contains(pointerOnScreen))
                okPressed = true;
            return;
        }
        if (messageBox || drag != Drag::None || pressedButton >= 0)
            return;
        Spot s = spotAt(pointer());
        if (s == Spot::EndButton || s == Spot::ShowButton) {
            if (b == MouseButton::Left) {
                pressedButton = s == Spot::EndButton ? 0 : 1;
                focusedButton = pressedButton;
            }
        } else if (s == Spot::Fish) {
            drag = Drag::Pending;
            dragStart = pointer();
            dragSpot = Spot::Outside;
            timerOn[int(Timer::Fish)] = false;
        }
    }

    void release(MouseButton b)
    {
        unsigned bit = 1u << unsigned(b);
        if (!(held & bit))
            return;
        held &= ~bit;
        Window target = capture;
        if (held == 0)
            capture = Window::None;
        if (target == Window::Box) {
            if (b == MouseButton::Left && okPressed) {
                okPressed = false;
                if (okArea.contains(pointerOnScreen))
                    closeMessage();
            }
            return;
        }
        if (messageBox || b == MouseButton::Middle)
            return;
        if (drag == Drag::Pending) {
            endDrag(Spot::Outside);
        } else if (drag == Drag::Active) {
            if (spotAt(pointer()) != dragSpot)
                dragTo();
            endDrag(ask(dragSpot) ? dragSpot : Spot::Outside);
        } else if (pressedButton >= 0 && b == MouseButton::Left) {
            int button = pressedButton;
            pressedButton = -1;
            Spot s = spotAt(pointer());
            if ((button == 0 && s == Spot::EndButton) || (button == 1 && s == Spot::ShowButton))
                clickButton(button);
        }
    }

    void key(Key k, Modifiers m)
    {
        if (focus == Window::Box) {
            if (k == Key::Enter || k == Key::Space || k == Key::Escape)
                closeMessage();
            return;
        }
        if (focus != Window::Main || messageBox)
            return;
        if (drag != Drag::None) {
            if (k == Key::Escape)
                cancelDrag();
            return;
        }
        if (k == Key::Tab)
            focusedButton = 1 - focusedButton;
        else if (k == Key::Space || k == Key::Enter)
            clickButton(focusedButton);
        (void)m;
    }

    void cancelDrag()
    {
        if (drag != Drag::None)
            endDrag(Spot::Outside);
    }

    void clickButton(int button)
    {
        if (button == 0)
            end();
        else
            storedShown = !storedShown;
    }

    void end()
    {
        ended = true;
        drag = Drag::None;
    }

    void endDrag(Spot target)
    {
        drag = Drag::None;
        dragSpot = Spot::Outside;
        if (target == Spot::Creature) {
            enable(Timer::Dorgo, false);
            enable(Timer::Fish, false);
            enable(Timer::Kutta, true);
            fishVisible = false;
            face = Face::Happy;
            return;
        }
        if (target == Spot::EndButton || target == Spot::ShowButton) {
            messageBox = true;
            focus = Window::Box;
            okPressed = false;
            return; // the rest happens when the box closes
        }
        face = teased ? Face::AngryOrWeep : Face::Happy;
        afterDrop();
    }

    void afterDrop()
    {
        enable(Timer::Fish, true);
        enable(Timer::Dorgo, true);
        teased = false;
    }

    void closeMessage()
    {
        messageBox = false;
        okPressed = false;
        // The box's window goes, and with it any press it held; keys go back to ours.
        if (capture == Window::Box) {
            capture = Window::None;
            held = 0;
        }
        focus = Window::Main;
        afterDrop();
    }

    void enable(Timer t, bool on)
    {
        if (timerOn[int(t)] == on)
            return;
        timerOn[int(t)] = on;
        if (on)
            due[int(t)] = now + 1000;
    }

    void advance(Millis until)
    {
        for (;;) {
            int next = -1;
            for (int t = 0; t < 3; ++t) {
                if (timerOn[std::size_t(t)] && due[std::size_t(t)] <= until && (next < 0 || due[std::size_t(t)] < due[std::size_t(next)]))
                    next = t;
            }
            if (next < 0)
                break;
            now = due[std::size_t(next)];
            due[std::size_t(next)] += 1000;
            tick(Timer(next));
        }
        now = until;
    }

    void tick(Timer t)
    {
        switch (t) {
        case Timer::Dorgo:
            if (++idleCount == 10) {
                face = Face::Happy;
            } else if (idleCount == 11) {
                face = Face::Sleep;
                idleCount = 0;
            }
            break;
        case Timer::Fish:
            if (++swimCount > 5) {
                swimCount = 0;
                facingLeft = !facingLeft;
                swimStep = -swimStep;
            }
            fish.left += swimStep;
            break;
        case Timer::Kutta:
            if (eatCount == 0) {
                face = Face::Happy;
                eatCount = 1;
            } else if (eatCount == 1) {
                face = Face::Kutta;
                eatCount = 2;
            } else {
                face = Face::Sleep;
                enable(Timer::Fish, true);
                enable(Timer::Dorgo, true);
                fishVisible = true;
                fish.left = 240;
                fish.top = 120;
                eatCount = 0;
                enable(Timer::Kutta, false);
            }
            break;
        }
    }
};

const char* faceName(Model::Face f)
{
    static const char* const names[] = { "imgSleep", "imgHappy", "imgKutta", "imgAngry", "imgWeep", "imgGaoh", "imgAngry|imgWeep" };
    return names[int(f)];
}

// ---- Running both ----

void perform(Toy& toy, const Action& a)
{
    switch (a.kind) {
    case Action::Kind::Move: toy.moveTo(a.at); break;
    case Action::Kind::Press: toy.press(a.button); break;
    case Action::Kind::Release: toy.release(a.button); break;
    case Action::Kind::Key: toy.key(a.key, a.modifiers); break;
    case Action::Kind::ClickButton: {
        Rect b = a.which ? Model::showButton : Model::endButton;
        toy.click({ b.left + 20, b.top + 10 });
        break;
    }
    case Action::Kind::MoveWindow: toy.platform().moveWindow(toy.mainWindow(), a.at); break;
    case Action::Kind::ResizeWindow: toy.platform().resizeWindow(toy.mainWindow(), { a.at.x, a.at.y }); break;
    case Action::Kind::Wait: toy.wait(a.ms); break;
    case Action::Kind::CloseBox:
        if (a.which == 0)
            toy.platform().requestClose(toy.mainWindow());
        else if (auto box = toy.messageBox())
            toy.platform().requestClose(box->id);
        break;
    case Action::Kind::FocusAway: toy.platform().takeFocusAway(); break;
    }
}

// Compares what the toy shows with the model; on a random face the model learns which came.
std::string compare(const Toy& toy, Model& model)
{
    std::ostringstream diff;
    if (toy.ended() != model.ended)
        diff << "ended: toy " << toy.ended() << ", model " << model.ended << "; ";
    if (toy.ended() || model.ended) {
        if (toy.ended() && toy.exitCode() != 0)
            diff << "exit code " << toy.exitCode() << "; ";
        return diff.str();
    }
    const TfrmMain& f = toy.form();
    std::string face = toy.face();
    if (model.face == Model::Face::AngryOrWeep && (face == "imgAngry" || face == "imgWeep"))
        model.face = face == "imgAngry" ? Model::Face::Angry : Model::Face::Weep;
    if (face != faceName(model.face))
        diff << "face: toy " << face << ", model " << faceName(model.face) << "; ";
    if (f.imgFish->BoundsRect() != model.fish)
        diff << "fish at (" << f.imgFish->Left() << ", " << f.imgFish->Top() << "), model (" << model.fish.left << ", " << model.fish.top << "); ";
    if (f.imgFish->Visible() != model.fishVisible)
        diff << "fish visible: toy " << f.imgFish->Visible() << "; ";
    if (toy.fishFacesLeft() != model.facingLeft)
        diff << "fish faces left: toy " << toy.fishFacesLeft() << "; ";
    if (f.imgFishLeft->Picture() != (model.facingLeft ? f.imgFish->Picture() : f.imgFishLeft->Picture())
        || (!model.facingLeft && f.imgFishRight->Picture() != f.imgFish->Picture()))
        diff << "the fish is not the species in play; ";
    for (int i = 0; i < f.ComponentCount(); ++i) {
        auto* image = dynamic_cast<const TImage*>(f.Components(i));
        if (image && image != f.imgDorgo && image != f.imgFish && image->Visible() != model.storedShown)
            diff << image->Name() << " visible: toy " << image->Visible() << "; ";
    }
    const TTimer* timers[] = { f.timDorgo, f.timFish, f.timKutta };
    for (int t = 0; t < 3; ++t)
        if (timers[t]->Enabled() != model.timerOn[std::size_t(t)])
            diff << timers[t]->Name() << " enabled: toy " << timers[t]->Enabled() << "; ";
    auto box = toy.messageBox();
    if (box.has_value() != model.messageBox)
        diff << "message box: toy " << box.has_value() << "; ";
    if (box && model.boxArea.empty()) {
        // Where the box and its OK button are is the window system's and the box's own affair;
        // the model takes them as they come.
        auto* form = dynamic_cast<const TMessageForm*>(toy.form().application().modalForm());
        Point origin = box->clientOrigin();
        model.boxArea = { origin.x, origin.y, box->clientSize.width, box->clientSize.height };
        Rect ok = form->okButton()->BoundsRect();
        model.okArea = { origin.x + ok.left, origin.y + ok.top, ok.width, ok.height };
    }
    if (!box)
        model.boxArea = model.okArea = {};
    return diff.str();
}

struct Outcome {
    int failedAt = -1; // index of the step after which toy and model differ, or -1
    std::string difference;
};

// Plays the steps on a fresh toy and model from the given seed until they differ or the
// program ends.
Outcome play(std::uint64_t seed, const std::vector<Action>& steps, int* played = nullptr)
{
    Toy toy({ .seed = seed });
    auto w = *toy.platform().window(toy.mainWindow());
    Model model(w.frameOrigin, w.frame, w.clientSize);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        perform(toy, steps[i]);
        model.apply(steps[i]);
        if (played)
            ++*played;
        std::string diff = compare(toy, model);
        if (!diff.empty())
            return { int(i), diff };
        if (model.ended)
            break;
    }
    return {};
}

// Removes steps, one run at a time, while the sequence still fails.
std::vector<Action> shrink(std::uint64_t seed, std::vector<Action> steps)
{
    steps.resize(std::size_t(play(seed, steps).failedAt + 1));
    for (std::size_t chunk = steps.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t start = 0; start + chunk <= steps.size();) {
            std::vector<Action> shorter = steps;
            shorter.erase(shorter.begin() + std::ptrdiff_t(start), shorter.begin() + std::ptrdiff_t(start + chunk));
            Outcome o = play(seed, shorter);
            if (o.failedAt >= 0) {
                shorter.resize(std::size_t(o.failedAt + 1));
                steps = shorter;
            } else {
                start += chunk;
            }
        }
    }
    return steps;
}

}

TEST(Model, TheToyFollowsItsRulesThroughLongRandomSequences)
{
    constexpr int StepsWanted = 100000;
    constexpr int SequenceLength = 400;
    std::mt19937 rng(20261211);
    int played = 0, sequences = 0;
    while (played < StepsWanted) {
        std::uint64_t seed = rng();
        std::vector<Action> steps(SequenceLength);
        for (Action& a : steps)
            a = randomAction(rng);
        ++sequences;
        Outcome o = play(seed, steps, &played);
        if (o.failedAt >= 0) {
            std::vector<Action> shortest = shrink(seed, steps);
            std::ostringstream out;
            out << "seed " << seed << ": after this sequence of " << shortest.size() << " steps, " << play(seed, shortest).difference << "\n";
            for (const Action& a : shortest)
                out << "  " << describe(a) << "\n";
            FAIL() << out.str();
        }
    }
    RecordProperty("steps", played);
    RecordProperty("sequences", sequences);
    std::printf("%d random steps in %d sequences\n", played, sequences);
}
