// The desktop misbehaving under the toy: the X server going away, the window closed or the
// focus taken in the middle of a drag, a close asked while the message box is open, and the
// window minimised, restored, resized and maximised.

#include "ChildProcess.h"
#include "Poll.h"
#include "RealWindowTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

using namespace std::chrono_literals;
using tk::Point;
using tk::Rect;

namespace {

constexpr std::string_view MainTitle = "モルタン";
constexpr std::string_view MessageTitle = "Dorgo";
constexpr Point CreatureFace { place::CreatureSlot.left, place::CreatureSlot.top };
// A place in the window where nothing takes the fish: below its lane, left of the creature,
// and away from the path the fish takes from its lane to there.
constexpr Point EmptySpot { 100, 250 };
// Near the show button's left edge, so that the fish hanging beside the pointer stays in sight.
constexpr Point OnTheShowButton { place::ShowButton.left + 4, place::ShowButton.top + 28 };

// What the creature may show after a drag that ended on nothing: pleased, or, when it was
// teased with the fish on the way, angry or weeping.
constexpr std::string_view FacesAfterADropOnNothing[] = { "imgHappy", "imgAngry", "imgWeep" };

std::string describe(Point p)
{
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

bool hasLineContaining(const std::string& text, std::string_view part)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.find(part) != std::string::npos)
            return true;
    }
    return false;
}

// The fish left over the creature hides part of its face, so the fish's tile and its swim
// steps either way are left out of the comparison.
bool showsAFaceAfterADropOnNothing(const tk::Bitmap& shot, Point fishLeft)
{
    const Rect fishAndItsSteps { fishLeft.x - 10, fishLeft.y, place::FishSize.width + 20, place::FishSize.height };
    return std::any_of(std::begin(FacesAfterADropOnNothing), std::end(FacesAfterADropOnNothing),
        [&](std::string_view face) { return shows(shot, CreatureFace, face, Backdrop::White, fishAndItsSteps); });
}

// The fish where it was left or one swim step either way, over whatever lies behind it there.
bool showsTheFishAtOrNextTo(const tk::Bitmap& shot, Point left, const FishSighting& fish)
{
    for (int step : { 0, -10, 10 }) {
        for (Facing facing : { Facing::Left, Facing::Right }) {
            FishSighting turned = fish;
            turned.facing = facing;
            if (shows(shot, { left.x + step, left.y }, turned.pictureName(), Backdrop::Anything))
                return true;
        }
    }
    return false;
}

}

// The fixture's helpers, for the tests below that carry the fish somewhere and hold it there.
class DesktopTest : public RealWindowTest {
protected:
    // Picks the fish up and holds it with the pointer at `pointer`; returns where it hangs, or
    // fails the test (check HasFatalFailure()).
    Point holdTheFishAt(Point pointer, FishSighting& fish)
    {
        fish = waitForTheFirstFrame();
        if (HasFailure())
            return {};
        pickUpAndCarry(fish, pointer);
        const Point held = hangingPlaceFor(pointer);
        const bool hanging = eventually(limits::Seen, [&] { return shows(toy().screenshot(), held, fish.pictureName(), Backdrop::Anything); });
        EXPECT_TRUE(hanging) << "the fish does not hang at " << describe(held) << " beside the pointer";
        return held;
    }
};

// ---- The X server going away ----

namespace {

struct ServerLoss {
    const char* name;
    int signal;
    bool carrying; // whether the fish is held when the server goes
};

void PrintTo(const ServerLoss& l, std::ostream* os)
{
    *os << l.name;
}

class ServerLossTest : public DesktopTest, public ::testing::WithParamInterface<ServerLoss> { };

const ServerLoss ServerLosses[] = {
    { "EndedWhileTheFishSwims", SIGTERM, false },
    { "KilledWhileTheFishSwims", SIGKILL, false },
    { "KilledWhileTheFishIsCarried", SIGKILL, true },
};

// The toy has nothing to go on once its display has gone; it must not hang waiting for it.
constexpr auto PromptExit = 5s;

}

TEST_P(ServerLossTest, TheToySaysTheWindowSystemWentAwayAndEndsWithExitCodeThree)
{
    if (GetParam().carrying) {
        FishSighting fish;
        holdTheFishAt(EmptySpot, fish);
    } else {
        waitForTheFirstFrame();
    }
    ASSERT_FALSE(HasFailure());

    ASSERT_TRUE(desktop().endServer(GetParam().signal, limits::Exit)) << "the X server did not end";
    const std::optional<int> code = toy().waitForExit(PromptExit);
    ASSERT_TRUE(code) << "the program still runs " << std::chrono::milliseconds(PromptExit).count() << " ms after the X server went";
    EXPECT_EQ(*code, 3);
    const std::string said = toy().errorOutput();
    EXPECT_TRUE(hasLineContaining(said, "the window system went away")) << "standard error said:\n" << said;
}

INSTANTIATE_TEST_SUITE_P(RealWindow, ServerLossTest, ::testing::ValuesIn(ServerLosses),
    [](const ::testing::TestParamInfo<ServerLoss>& info) { return std::string(info.param.name); });

// ---- Closing the window ----

namespace {

// Ways to ask the window manager to close a window that work whatever the pointer is doing:
// the pointer may be held down in the toy's window, or the window may have a modal box open.
struct WayToClose {
    const char* name;
    void (*act)(VirtualDesktop&, RunningToy&);
};

void PrintTo(const WayToClose& w, std::ostream* os)
{
    *os << w.name;
}

const WayToClose CloseKey { "WindowManagersCloseKey", [](VirtualDesktop&, RunningToy& toy) { toy.key("alt+F4"); } };
const WayToClose TaskbarClose { "TaskbarClose", [](VirtualDesktop& desktop, RunningToy& toy) { desktop.requestClose(toy.mainWindow()); } };
const WayToClose CloseBox { "CloseBox", [](VirtualDesktop& desktop, RunningToy& toy) {
                               toy.moveToScreen(closeBoxOf(desktop, toy.mainWindow()));
                               desktop.xdotool({ "click", "1" });
                           } };

class CloseMidDragTest : public DesktopTest, public ::testing::WithParamInterface<WayToClose> { };

// The close box is no way to close the window while the button is held in it: the press on
// the fish keeps the pointer in the toy's window until it is let go.
const WayToClose WaysToCloseMidDrag[] = { CloseKey, TaskbarClose };

}

TEST_P(CloseMidDragTest, EndsTheProgramWithExitCodeZero)
{
    FishSighting fish;
    holdTheFishAt(EmptySpot, fish);
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(toy().waitUntilActive(toy().mainWindow(), limits::Seen)) << "the window does not have the focus";

    GetParam().act(desktop(), toy());
    const std::optional<int> code = toy().waitForExit(limits::Exit);
    ASSERT_TRUE(code) << "the program still runs " << limits::Exit.count() << " ms later";
    EXPECT_EQ(*code, 0);
    EXPECT_TRUE(eventually(limits::Seen, [&] { return !toy().hasWindow(MainTitle); })) << "the window stayed";
}

INSTANTIATE_TEST_SUITE_P(RealWindow, CloseMidDragTest, ::testing::ValuesIn(WaysToCloseMidDrag),
    [](const ::testing::TestParamInfo<WayToClose>& info) { return std::string(info.param.name); });

namespace {

class CloseUnderMessageBoxTest : public DesktopTest, public ::testing::WithParamInterface<WayToClose> { };

// The close key would go to the message box, which has the focus, so only the ways that name
// the main window itself are tried.
const WayToClose WaysToCloseUnderABox[] = { CloseBox, TaskbarClose };

}

TEST_P(CloseUnderMessageBoxTest, TheWindowStaysWhileItsMessageBoxIsOpenAndClosesOnceTheBoxIsGone)
{
    FishSighting fish;
    holdTheFishAt(OnTheShowButton, fish);
    ASSERT_FALSE(HasFailure());
    toy().release();
    const std::optional<RunningToy::WindowId> box = toy().waitForWindow(MessageTitle, limits::Start);
    ASSERT_TRUE(box) << "no message box titled " << MessageTitle;

    // A window does not close under its open modal box: the close is refused, not put off.
    GetParam().act(desktop(), toy());
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(toy().waitForExit(limits::Seen), std::nullopt) << "the program ended with its message box open";
    EXPECT_TRUE(toy().hasWindow(MessageTitle)) << "the message box went";
    EXPECT_TRUE(toy().hasWindow(MainTitle)) << "the main window went";

    // A click on the main window's title bar may have taken the focus there; the window
    // manager then hands it back to the box when asked, as a person's click on the box would.
    if (!toy().waitUntilActive(*box, limits::Seen))
        desktop().xdotool({ "windowactivate", std::to_string(*box) });
    ASSERT_TRUE(toy().waitUntilActive(*box, limits::Seen)) << "the message box does not have the keyboard focus";
    toy().key("Return");
    ASSERT_TRUE(eventually(limits::Seen, [&] { return !toy().hasWindow(MessageTitle); })) << "Enter left the message box open";
    ASSERT_EQ(toy().waitForExit(limits::Seen), std::nullopt) << "the refused close ended the program once the box was gone";

    GetParam().act(desktop(), toy());
    ASSERT_FALSE(HasFatalFailure());
    const std::optional<int> code = toy().waitForExit(limits::Exit);
    ASSERT_TRUE(code) << "the program still runs " << limits::Exit.count() << " ms after the second close";
    EXPECT_EQ(*code, 0);
}

INSTANTIATE_TEST_SUITE_P(RealWindow, CloseUnderMessageBoxTest, ::testing::ValuesIn(WaysToCloseUnderABox),
    [](const ::testing::TestParamInfo<WayToClose>& info) { return std::string(info.param.name); });

// ---- The focus taken in the middle of a drag ----

namespace {

struct FocusTheft {
    const char* name;
    Point pointer; // where the fish is held when another window takes the focus
};

void PrintTo(const FocusTheft& f, std::ostream* os)
{
    *os << f.name;
}

class FocusTakenMidDragTest : public DesktopTest, public ::testing::WithParamInterface<FocusTheft> { };

// Over the creature the drop would feed it; with the focus gone there is no drop any more.
const FocusTheft FocusThefts[] = {
    { "OverAnEmptySpot", EmptySpot },
    { "OverTheCreature", place::CreatureCentre },
};

}

TEST_P(FocusTakenMidDragTest, TheDragEndsOnNothingAndTheFishSwimsOnFromWhereItWasLeft)
{
    FishSighting fish;
    const Point held = holdTheFishAt(GetParam().pointer, fish);
    ASSERT_FALSE(HasFailure());

    // Another program's window pops up, placed clear of the toy's so that the screenshots
    // still see all of it. Openbox gives a new window the focus; should it not, the window
    // asks the window manager for it, as a program that wants attention does.
    const std::vector<RunningToy::WindowId> before = desktop().managedWindows();
    ChildProcess other({ .argv = { "xlogo", "-geometry", "120x120+1100+850" },
        .environment = { { "DISPLAY", desktop().displayName() } },
        .log = desktop().workDir() / "xlogo.log" });
    std::optional<RunningToy::WindowId> otherWindow;
    ASSERT_TRUE(eventually(limits::Start, [&] {
        for (RunningToy::WindowId window : desktop().managedWindows()) {
            if (std::find(before.begin(), before.end(), window) == before.end()) {
                otherWindow = window;
                return true;
            }
        }
        return false;
    })) << "xlogo's window never appeared";
    if (desktop().activeWindow() != otherWindow)
        desktop().xdotool({ "windowactivate", std::to_string(*otherWindow) });
    ASSERT_TRUE(toy().waitUntilActive(*otherWindow, limits::Seen)) << "xlogo's window did not get the focus";

    toy().release();
    bool fishStayed = false;
    EXPECT_TRUE(eventually(limits::Seen, [&] {
        const tk::Bitmap shot = toy().screenshot();
        fishStayed = showsTheFishAtOrNextTo(shot, held, fish);
        return fishStayed && showsAFaceAfterADropOnNothing(shot, held);
    })) << (fishStayed ? "the creature shows neither a pleased, an angry nor a weeping face"
                       : "the fish is not where it was left: it was eaten or put back");
    EXPECT_EQ(toy().waitForExit(0ms), std::nullopt) << "the program ended";

    // Away from the creature the fish's tile has the window's white around it, so its swim
    // step can be told exactly.
    if (GetParam().pointer == EmptySpot) {
        std::optional<FishSighting> swum;
        EXPECT_TRUE(eventually(1s + limits::Seen, [&] {
            swum = findFish(toy().screenshot(), held.y);
            return swum && std::abs(swum->at.x - held.x) == 10;
        })) << "the fish does not swim on from " << describe(held);
    }
}

INSTANTIATE_TEST_SUITE_P(RealWindow, FocusTakenMidDragTest, ::testing::ValuesIn(FocusThefts),
    [](const ::testing::TestParamInfo<FocusTheft>& info) { return std::string(info.param.name); });

// ---- The window minimised, restored, resized and maximised ----

namespace {

// A change of the window's size or state that openbox makes, and how to tell it has happened.
struct WindowChange {
    const char* name;
    void (*make)(VirtualDesktop&, RunningToy&);
    bool (*done)(const Rect& client);
};

void PrintTo(const WindowChange& c, std::ostream* os)
{
    *os << c.name;
}

constexpr tk::Size ResizedTo { 900, 700 };

bool designSize(const Rect& client)
{
    return client.width == place::ClientArea.width && client.height == place::ClientArea.height;
}

const WindowChange MinimisedAndRestored { "MinimisedAndRestored",
    [](VirtualDesktop& desktop, RunningToy& toy) {
        const std::string window = std::to_string(toy.mainWindow());
        desktop.xdotool({ "windowminimize", window });
        ASSERT_TRUE(eventually(limits::Seen, [&] { return !desktop.isViewable(toy.mainWindow()); })) << "the window was not minimised";
        desktop.xdotool({ "windowactivate", window });
        ASSERT_TRUE(eventually(limits::Seen, [&] { return desktop.isViewable(toy.mainWindow()); })) << "the window was not restored";
    },
    designSize };
const WindowChange Resized { "Resized",
    [](VirtualDesktop& desktop, RunningToy& toy) {
        desktop.xdotool({ "windowsize", std::to_string(toy.mainWindow()), std::to_string(ResizedTo.width), std::to_string(ResizedTo.height) });
    },
    [](const Rect& client) { return client.width == ResizedTo.width && client.height == ResizedTo.height; } };
const WindowChange Maximised { "Maximised",
    [](VirtualDesktop& desktop, RunningToy& toy) {
        // A double click on the title bar maximises the window in openbox's stock setup; the
        // middle of the title bar, left of the close box, is clear of the buttons and the title.
        const Point closeBox = closeBoxOf(desktop, toy.mainWindow());
        toy.moveToScreen({ closeBox.x - 120, closeBox.y });
        desktop.xdotool({ "click", "--repeat", "2", "--delay", "80", "1" });
    },
    [](const Rect& client) { return client.width > place::ClientArea.width + 300 && client.height > place::ClientArea.height + 300; } };

// Everything of the client area outside the toy's own 573 x 380 is the window's white, apart
// from the fish's lane, where the fish may swim on into the larger window.
bool whiteBeyondTheDesign(const tk::Bitmap& shot)
{
    const int w = shot.width(), h = shot.height();
    const int right = place::ClientArea.width, bottom = place::ClientArea.height;
    const Rect beyond[] = {
        { right, 0, w - right, place::FishLane.top },
        { right, place::FishLane.bottom(), w - right, bottom - place::FishLane.bottom() },
        { 0, bottom, w, h - bottom },
    };
    return std::all_of(std::begin(beyond), std::end(beyond), [&](const Rect& r) { return r.width <= 0 || r.height <= 0 || allWhite(shot, r); });
}

// The creature in its place, asleep or smiling at the time passed.
bool showsTheCreatureInItsPlace(const tk::Bitmap& shot, const Rect& except = {})
{
    return shows(shot, CreatureFace, "imgSleep", Backdrop::White, except) || shows(shot, CreatureFace, "imgHappy", Backdrop::White, except);
}

class WindowChangeTest : public DesktopTest, public ::testing::WithParamInterface<WindowChange> { };
class WindowChangeMidDragTest : public DesktopTest, public ::testing::WithParamInterface<WindowChange> { };

const WindowChange WindowChanges[] = { MinimisedAndRestored, Resized, Maximised };
// The other changes need the pointer, or take the focus and with it the drag.
const WindowChange WindowChangesMidDrag[] = { Resized };

}

TEST_P(WindowChangeTest, TheToyRunsOnWithEverythingInItsPlaceAndTheFishSwimming)
{
    const FishSighting fish = waitForTheFirstFrame();
    ASSERT_FALSE(HasFailure());
    GetParam().make(desktop(), toy());
    ASSERT_FALSE(HasFatalFailure());
    std::optional<Rect> client;
    ASSERT_TRUE(eventually(limits::Seen, [&] {
        client = toy().clientRect();
        return client && GetParam().done(*client);
    })) << "the client area did not take its new size; it is " << (client ? std::to_string(client->width) + " x " + std::to_string(client->height) : "gone");

    bool inPlace = false, white = false;
    std::optional<FishSighting> swum;
    EXPECT_TRUE(eventually(1s + limits::Seen, [&] {
        const tk::Bitmap shot = toy().screenshot();
        inPlace = showsTheCreatureInItsPlace(shot);
        white = whiteBeyondTheDesign(shot);
        swum = findFish(shot, place::FishLane.top);
        return inPlace && white && swum && swum->at.x != fish.at.x;
    })) << (!inPlace ? "the creature is not at " + describe(CreatureFace)
               : !white ? std::string("the window beyond the toy's own area is not white")
                        : "the fish does not swim on from " + describe(fish.at));
    EXPECT_EQ(toy().waitForExit(0ms), std::nullopt) << "the program ended";
}

INSTANTIATE_TEST_SUITE_P(RealWindow, WindowChangeTest, ::testing::ValuesIn(WindowChanges),
    [](const ::testing::TestParamInfo<WindowChange>& info) { return std::string(info.param.name); });

TEST_P(WindowChangeMidDragTest, TheFishStaysHeldAndSwimsOnFromWhereItIsDropped)
{
    FishSighting fish;
    const Point held = holdTheFishAt(EmptySpot, fish);
    ASSERT_FALSE(HasFailure());
    GetParam().make(desktop(), toy());
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(eventually(limits::Seen, [&] {
        const std::optional<Rect> client = toy().clientRect();
        return client && GetParam().done(*client);
    })) << "the client area did not take its new size";
    EXPECT_TRUE(eventually(limits::Seen, [&] {
        const tk::Bitmap shot = toy().screenshot();
        return shows(shot, held, fish.pictureName()) && showsTheCreatureInItsPlace(shot) && whiteBeyondTheDesign(shot);
    })) << "the fish does not hang at " << describe(held) << " with the creature at " << describe(CreatureFace);

    toy().release();
    std::optional<FishSighting> swum;
    EXPECT_TRUE(eventually(1s + limits::Seen, [&] {
        const tk::Bitmap shot = toy().screenshot();
        swum = findFish(shot, held.y);
        return swum && std::abs(swum->at.x - held.x) == 10 && showsAFaceAfterADropOnNothing(shot, held);
    })) << "the fish does not swim on from " << describe(held) << ", or the creature does not look as after a drop on nothing";
    EXPECT_EQ(toy().waitForExit(0ms), std::nullopt) << "the program ended";
}

INSTANTIATE_TEST_SUITE_P(RealWindow, WindowChangeMidDragTest, ::testing::ValuesIn(WindowChangesMidDrag),
    [](const ::testing::TestParamInfo<WindowChange>& info) { return std::string(info.param.name); });

// ---- The program under valgrind ----

namespace {

// Under valgrind the program runs some twenty times slower than on its own.
namespace slowly {
inline constexpr std::chrono::milliseconds Start = 120s;
inline constexpr std::chrono::milliseconds Seen = 30s;
inline constexpr std::chrono::milliseconds Exit = 120s; // valgrind's leak check comes after the program's end
}

// Valgrind's own exit code for a memory error or a definite leak, told apart from the toy's.
constexpr int ValgrindFound = 99;

std::string contentsOf(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}

// The program runs under valgrind's memcheck, which ends it with its own exit code when it
// found a memory error or a leak of memory nothing points to any more. Leaks the system's
// libraries make on their own are suppressed; see system-libraries.supp.
class UnderValgrindTest : public RealWindowTest {
protected:
    std::vector<std::string> wrapper(const std::filesystem::path& workDir) const override
    {
        return { "valgrind", "--error-exitcode=" + std::to_string(ValgrindFound), "--leak-check=full",
            "--errors-for-leak-kinds=definite", std::string("--suppressions=") + DORGO_VALGRIND_SUPPRESSIONS,
            // SDL starts a D-Bus helper, whose own findings are not the toy's.
            "--child-silent-after-fork=yes", "--log-file=" + (workDir / "valgrind.log").string() };
    }

    std::string valgrindLog() { return contentsOf(desktop().workDir() / "valgrind.log"); }

    // The fish in its lane, once the window shows one; fails the test when none shows.
    FishSighting aFishInItsLane()
    {
        std::optional<FishSighting> fish;
        EXPECT_TRUE(eventually(slowly::Seen, [&] {
            fish = findFish(toy().screenshot(), place::FishStart.y);
            return fish.has_value();
        })) << "no fish in its lane";
        return fish.value_or(FishSighting {});
    }

    // Carries the fish to `pointer` and waits until it hangs there; fails the test otherwise.
    void carryTheFishTo(Point pointer)
    {
        const FishSighting fish = aFishInItsLane();
        if (HasFailure())
            return;
        pickUpAndCarry(fish, pointer);
        const Point held = hangingPlaceFor(pointer);
        EXPECT_TRUE(eventually(slowly::Seen, [&] { return shows(toy().screenshot(), held, fish.pictureName(), Backdrop::Anything); }))
            << "the fish does not hang at " << describe(held) << " beside the pointer";
    }
};

TEST_F(UnderValgrindTest, AFeedingAParkedFishTheShowButtonAndTheEndButtonLeaveNoMemoryErrorAndNoLeak)
{
    ASSERT_TRUE(toy().waitForMainWindow(slowly::Start)) << "no window titled モルタン, " << toy().describeDesktop();

    // A feeding: held over the creature, dropped, eaten, and a new fish once the creature sleeps.
    carryTheFishTo(place::CreatureCentre);
    ASSERT_FALSE(HasFailure());
    toy().release();
    ASSERT_TRUE(eventually(slowly::Seen, [&] { return shows(toy().screenshot(), CreatureFace, "imgHappy"); }))
        << "the creature did not look pleased at the drop";
    ASSERT_TRUE(eventually(slowly::Seen, [&] {
        const tk::Bitmap shot = toy().screenshot();
        return shows(shot, CreatureFace, "imgSleep") && findFish(shot, place::FishStart.y);
    })) << "the creature did not fall asleep again with a new fish";

    // The fish parked on the show button, and the message box that says no closed by Enter.
    carryTheFishTo(OnTheShowButton);
    ASSERT_FALSE(HasFailure());
    toy().release();
    const std::optional<RunningToy::WindowId> box = toy().waitForWindow(MessageTitle, slowly::Seen);
    ASSERT_TRUE(box) << "no message box titled " << MessageTitle;
    ASSERT_TRUE(toy().waitUntilActive(*box, slowly::Seen)) << "the message box does not have the keyboard focus";
    toy().key("Return");
    ASSERT_TRUE(eventually(slowly::Seen, [&] { return !toy().hasWindow(MessageTitle); })) << "Enter left the message box open";

    // The stored pictures laid out by the show button.
    toy().click(place::ShowButtonCentre);
    ASSERT_TRUE(eventually(slowly::Seen, [&] {
        const tk::Bitmap shot = toy().screenshot();
        return shows(shot, { 12, 24 }, "imgHappy") && shows(shot, { 118, 24 }, "imgSleep");
    })) << "the show button did not lay out the stored pictures";

    toy().click(place::EndButtonCentre);
    const std::optional<int> code = toy().waitForExit(slowly::Exit);
    ASSERT_TRUE(code) << "the program still runs " << slowly::Exit.count() << " ms after the end button";
    EXPECT_EQ(*code, 0) << (*code == ValgrindFound ? "valgrind found a memory error or a definite leak" : "the program failed")
                        << "; valgrind said:\n"
                        << valgrindLog();
}
