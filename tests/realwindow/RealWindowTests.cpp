#include "Art.h"
#include "Png.h"
#include "Poll.h"
#include "RealWindowTest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

using namespace std::chrono_literals;
using tk::Point;
using tk::Rect;

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view MainTitle = "モルタン";
// The message box is titled with the application's title, which comes from the program file's
// name: build/Dorgo.
constexpr std::string_view MessageTitle = "Dorgo";

constexpr Point CreatureFace { place::CreatureSlot.left, place::CreatureSlot.top };

std::string describe(const std::optional<Rect>& r)
{
    if (!r)
        return "nowhere";
    std::ostringstream text;
    text << "(" << r->left << ", " << r->top << ") " << r->width << " x " << r->height;
    return text.str();
}

std::string describe(Point p)
{
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

long long millisSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

tk::Bitmap startupGolden()
{
    std::optional<tk::Bitmap> golden = readPng(std::string(DORGO_GOLDEN_DIR) + "/startup.png");
    if (!golden)
        throw std::runtime_error("cannot read tests/golden/startup.png");
    return *golden;
}

// Puts a picture into a frame at `at`, its transparent pixels showing the window's white.
void paintOnWhite(tk::Bitmap& frame, Point at, const tk::Bitmap& picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const tk::Color c = picture.pixel(x, y);
            frame.setPixel(at.x + x, at.y + y, tk::isOpaque(c) ? c | 0xFF000000u : tk::colors::White);
        }
    }
}

}

// ---- The window ----

TEST_F(RealWindowTest, TheWindowAppearsWithItsTitleAndItsOuterFrameAtItsPlaceAndSize)
{
    ASSERT_TRUE(toy().waitForMainWindow(limits::Start)) << "no window of the program titled モルタン";
    const auto window = toy().mainWindow();
    EXPECT_EQ(desktop().shownTitleOf(window), std::string(MainTitle)) << "the title bar shows another title";

    // The program fits its client area into the frame a moment after the window manager has
    // framed the window, and openbox resizes the frame and the client one after the other; what
    // counts is where both settle.
    const Rect outer { 185, 94, 575, 405 };
    std::optional<Rect> frame, client;
    std::optional<tk::FrameExtents> extents;
    Rect expectedClient;
    const bool settled = eventually(limits::Seen, [&] {
        frame = desktop().frameRect(window);
        client = desktop().clientRect(window);
        extents = desktop().frameExtents(window);
        if (!extents)
            return false;
        expectedClient = { outer.left + extents->left, outer.top + extents->top, place::ClientArea.width, place::ClientArea.height };
        return frame == outer && client == expectedClient;
    });
    ASSERT_TRUE(extents) << "openbox announced no frame";
    EXPECT_TRUE(settled) << "the outer frame is at " << describe(frame) << ", expected " << describe(outer) << "; the client area at "
                         << describe(client) << ", expected " << describe(expectedClient);
}

TEST_F(RealWindowTest, TheFirstFrameIsTheHeadlessGoldenWithALeftFacingFishOfAnySpecies)
{
    // The golden shows the fish the headless run's fixed seed chose; here the clock chooses,
    // so the golden's fish tile counts as white and the fish seen is painted in its place.
    tk::Bitmap golden = startupGolden();
    paintOnWhite(golden, place::FishStart, tk::Bitmap(place::FishSize.width, place::FishSize.height));
    ASSERT_TRUE(toy().waitForMainWindow(limits::Start)) << "no window of the program titled モルタン";

    // Until its sixth swim tick the fish faces left, ten pixels further on each second, and
    // until the tenth idle tick the creature sleeps; the first frame shows within that time.
    std::optional<FishSighting> fish;
    int differing = -1;
    const bool matched = eventually(4s, [&] {
        const tk::Bitmap shot = toy().screenshot();
        if (shot.width() != golden.width() || shot.height() != golden.height())
            return false;
        fish = findFish(shot, place::FishStart.y, Facing::Left);
        if (!fish)
            return false;
        tk::Bitmap expected = golden;
        paintOnWhite(expected, fish->at, art::Picture(fish->pictureName()));
        differing = differingOutside(shot, expected);
        return differing == 0;
    });
    const tk::Bitmap& shot = toy().lastScreenshot();
    ASSERT_EQ(shot.width(), golden.width()) << "client area width";
    ASSERT_EQ(shot.height(), golden.height()) << "client area height";
    ASSERT_TRUE(fish) << "no left-facing fish of the five in the fish's lane";
    EXPECT_TRUE(matched) << differing << " pixels differ from the golden start-up frame with " << fish->pictureName()
                         << " at " << describe(fish->at);
    const int stepsSwum = (place::FishStart.x - fish->at.x) / 10;
    EXPECT_TRUE(fish->at.x == place::FishStart.x - 10 * stepsSwum && stepsSwum >= 0 && stepsSwum <= 5)
        << "the fish is at " << describe(fish->at) << ", which is no place it swims to from " << describe(place::FishStart);
}

// ---- Ending the program ----

namespace {

struct WayToEnd {
    const char* name;
    void (*act)(VirtualDesktop&, RunningToy&);
};

void PrintTo(const WayToEnd& w, std::ostream* os)
{
    *os << w.name;
}

class EndingTest : public RealWindowTest, public ::testing::WithParamInterface<WayToEnd> { };

const WayToEnd WaysToEnd[] = {
    { "CloseBox",
        [](VirtualDesktop& desktop, RunningToy& toy) {
            toy.moveToScreen(closeBoxOf(desktop, toy.mainWindow()));
            desktop.xdotool({ "click", "1" });
        } },
    { "WindowManagersCloseKey",
        [](VirtualDesktop&, RunningToy& toy) {
            ASSERT_TRUE(toy.waitUntilActive(toy.mainWindow(), limits::Seen)) << "the window never got the focus";
            toy.key("alt+F4");
        } },
    { "EndButton", [](VirtualDesktop&, RunningToy& toy) { toy.click(place::EndButtonCentre); } },
    { "SpaceOnTheEndButtonWhichHasTheFocus",
        [](VirtualDesktop&, RunningToy& toy) {
            ASSERT_TRUE(toy.waitUntilActive(toy.mainWindow(), limits::Seen)) << "the window never got the focus";
            toy.key("space");
        } },
};

}

TEST_P(EndingTest, EndsTheProgramWithExitCodeZeroAndTakesTheWindowAway)
{
    waitForTheFirstFrame();
    ASSERT_FALSE(HasFatalFailure());
    GetParam().act(desktop(), toy());
    ASSERT_FALSE(HasFatalFailure());
    const std::optional<int> code = toy().waitForExit(limits::Exit);
    ASSERT_TRUE(code) << "the program still runs " << limits::Exit.count() << " ms later";
    EXPECT_EQ(*code, 0);
    EXPECT_TRUE(eventually(limits::Seen, [&] { return !toy().hasWindow(MainTitle); })) << "the window stayed";
}

INSTANTIATE_TEST_SUITE_P(RealWindow, EndingTest, ::testing::ValuesIn(WaysToEnd),
    [](const ::testing::TestParamInfo<WayToEnd>& info) { return std::string(info.param.name); });

// ---- Feeding ----

TEST_F(RealWindowTest, AWholeFeedingShowsThePleasedThenTheJustEatenFaceThenSleepWithTheFishBackAtItsPlace)
{
    const FishSighting fish = waitForTheFirstFrame();
    ASSERT_FALSE(HasFailure());
    pickUpAndCarry(fish, place::CreatureCentre);

    // Held over the creature, the fish hangs beside the pointer and the creature opens its mouth.
    const Point held = hangingPlaceFor(place::CreatureCentre);
    const Rect heldTile { held.x, held.y, place::FishSize.width, place::FishSize.height };
    EXPECT_TRUE(eventually(limits::Seen, [&] {
        const tk::Bitmap shot = toy().screenshot();
        return shows(shot, held, fish.pictureName(), Backdrop::Anything) && shows(shot, CreatureFace, "imgGaoh", Backdrop::White, heldTile);
    })) << "held over the creature, the fish should hang at " << describe(held) << " over its open mouth";

    const Clock::time_point dropped = Clock::now();
    toy().release();

    // Eaten: the fish is gone and the creature looks pleased.
    EXPECT_TRUE(eventually(limits::Seen, [&] {
        const tk::Bitmap shot = toy().screenshot();
        return shows(shot, CreatureFace, "imgHappy") && allWhite(shot, { 0, place::FishLane.top, place::CreatureSlot.left, place::FishLane.height });
    })) << "at the drop the fish should be gone and the creature pleased";

    // Two seconds after the drop, the just-eaten face; pleased until then.
    bool pleasedMeanwhile = true;
    EXPECT_TRUE(eventually(2s + limits::Seen, [&] {
        const tk::Bitmap shot = toy().screenshot();
        if (shows(shot, CreatureFace, "imgKutta"))
            return true;
        pleasedMeanwhile = pleasedMeanwhile && shows(shot, CreatureFace, "imgHappy");
        return false;
    })) << "no just-eaten face";
    const long long justEatenAfter = millisSince(dropped);
    EXPECT_TRUE(pleasedMeanwhile) << "before the just-eaten face the creature showed something else than pleased";
    EXPECT_GE(justEatenAfter, 1900) << "the just-eaten face came too early";

    // A second later it sleeps, and the new fish waits at the fish's starting place, facing as
    // the eaten one did.
    std::optional<FishSighting> newFish;
    EXPECT_TRUE(eventually(1s + limits::Seen, [&] {
        const tk::Bitmap shot = toy().screenshot();
        if (!shows(shot, CreatureFace, "imgSleep"))
            return false;
        newFish = findFish(shot, place::FishStart.y);
        return true;
    })) << "the creature did not fall asleep again";
    EXPECT_GE(millisSince(dropped), 2900) << "the creature fell asleep too early";
    ASSERT_TRUE(newFish) << "no fish in its lane when the creature fell asleep";
    EXPECT_EQ(newFish->at, place::FishStart) << "the new fish is at " << describe(newFish->at);
    EXPECT_EQ(newFish->facing, fish.facing);
    EXPECT_TRUE(toy().waitForExit(0ms) == std::nullopt) << "the program ended";
}

// ---- Parking the fish on a button ----

namespace {

struct ButtonDrop {
    const char* name;
    Point pointer; // near the button's left edge, so that the fish hanging beside it stays in sight
};

void PrintTo(const ButtonDrop& d, std::ostream* os)
{
    *os << d.name;
}

class ButtonDropTest : public RealWindowTest, public ::testing::WithParamInterface<ButtonDrop> { };

const ButtonDrop ButtonDrops[] = {
    { "ShowButton", { place::ShowButton.left + 4, place::ShowButton.top + 28 } },
    { "EndButton", { place::EndButton.left + 4, place::EndButton.top + 28 } },
};

}

TEST_P(ButtonDropTest, ShowsAMessageBoxCentredOnTheScreenThatEnterClosesAndTheToyRunsOn)
{
    const FishSighting fish = waitForTheFirstFrame();
    ASSERT_FALSE(HasFailure());
    const Point drop = GetParam().pointer;
    pickUpAndCarry(fish, drop);
    const Point held = hangingPlaceFor(drop);
    ASSERT_TRUE(eventually(limits::Seen, [&] { return shows(toy().screenshot(), held, fish.pictureName()); }))
        << "the fish does not hang at " << describe(held) << " beside the pointer";
    toy().release();

    const std::optional<RunningToy::WindowId> box = toy().waitForWindow(MessageTitle, limits::Start);
    ASSERT_TRUE(box) << "no message box titled " << MessageTitle;
    EXPECT_EQ(desktop().shownTitleOf(*box), std::string(MessageTitle));

    const tk::Size screen = desktop().screenSize();
    std::optional<Rect> frame;
    const auto centred = [&] {
        frame = desktop().frameRect(*box);
        return frame && std::abs(frame->left + frame->width / 2 - screen.width / 2) <= 3
            && std::abs(frame->top + frame->height / 2 - screen.height / 2) <= 3;
    };
    EXPECT_TRUE(eventually(limits::Seen, centred)) << "the message box's frame is at " << describe(frame)
                                                    << ", not centred on the " << screen.width << " x " << screen.height
                                                    << " screen";

    ASSERT_TRUE(toy().waitUntilActive(*box, limits::Seen)) << "the message box does not have the keyboard focus";
    toy().key("Return");
    EXPECT_TRUE(eventually(limits::Seen, [&] { return !toy().hasWindow(MessageTitle); })) << "Enter left the message box open";

    // The toy runs on: its window is still there, and the fish swims on from where it was left.
    ASSERT_TRUE(toy().waitForExit(0ms) == std::nullopt) << "the program ended";
    ASSERT_TRUE(toy().hasWindow(MainTitle));
    std::optional<FishSighting> swum;
    EXPECT_TRUE(eventually(1s + limits::Seen, [&] {
        swum = findFish(toy().screenshot(), held.y);
        return swum && std::abs(swum->at.x - held.x) == 10;
    })) << "the fish does not swim on from " << describe(held);
}

INSTANTIATE_TEST_SUITE_P(RealWindow, ButtonDropTest, ::testing::ValuesIn(ButtonDrops),
    [](const ::testing::TestParamInfo<ButtonDrop>& info) { return std::string(info.param.name); });

// ---- The show button ----

namespace {

struct StoredPicture {
    const char* name;
    Point slot;
};

// Every picture the toy keeps, at its slot's top-left corner; each slot's background is the
// window's white.
const StoredPicture StoredPictures[] = {
    { "imgHappy", { 12, 24 } },
    { "imgSleep", { 118, 24 } },
    { "imgAngry", { 220, 24 } },
    { "imgWeep", { 322, 24 } },
    { "imgGaoh", { 118, 142 } },
    { "imgKutta", { 8, 144 } },
    { "imgFishL1", { 48, 272 } },
    { "imgFishL2", { 96, 272 } },
    { "imgFishL3", { 144, 272 } },
    { "imgFishL4", { 192, 272 } },
    { "imgFishL5", { 240, 272 } },
    { "imgFishR1", { 48, 328 } },
    { "imgFishR2", { 96, 328 } },
    { "imgFishR3", { 144, 328 } },
    { "imgFishR4", { 192, 328 } },
    { "imgFishR5", { 240, 328 } },
};
// The current species, both ways.
constexpr Point SpeciesLeftSlot { 312, 320 };
constexpr Point SpeciesRightSlot { 360, 320 };

enum class Press { First, Second };

struct ShowButtonUse {
    const char* name;
    void (*press)(RunningToy&, Press);
};

void PrintTo(const ShowButtonUse& u, std::ostream* os)
{
    *os << u.name;
}

class ShowButtonTest : public RealWindowTest, public ::testing::WithParamInterface<ShowButtonUse> { };

const ShowButtonUse ShowButtonUses[] = {
    { "Click", [](RunningToy& toy, Press) { toy.click(place::ShowButtonCentre); } },
    { "TabThenSpace",
        [](RunningToy& toy, Press press) {
            if (press == Press::First) {
                // The end button has the focus at the start; Tab takes it to the show button.
                ASSERT_TRUE(toy.waitUntilActive(toy.mainWindow(), limits::Seen)) << "the window never got the focus";
                toy.key("Tab");
            }
            toy.key("space");
        } },
};

}

TEST_P(ShowButtonTest, LaysOutTheStoredPicturesAndASecondPressPutsThemAway)
{
    waitForTheFirstFrame();
    ASSERT_FALSE(HasFailure());

    GetParam().press(toy(), Press::First);
    ASSERT_FALSE(HasFatalFailure());
    const char* missing = nullptr;
    EXPECT_TRUE(eventually(limits::Seen, [&] {
        const tk::Bitmap shot = toy().screenshot();
        missing = nullptr;
        for (const StoredPicture& p : StoredPictures) {
            if (!shows(shot, p.slot, p.name)) {
                missing = p.name;
                return false;
            }
        }
        // The current species' pair: the same species facing left and facing right.
        for (int n = 1; n <= 5; ++n) {
            const std::string species = std::to_string(n);
            if (shows(shot, SpeciesLeftSlot, "imgFishL" + species) && shows(shot, SpeciesRightSlot, "imgFishR" + species))
                return true;
        }
        missing = "the current species' pair";
        return false;
    })) << (missing ? missing : "") << " is not shown at its place";

    GetParam().press(toy(), Press::Second);
    ASSERT_FALSE(HasFatalFailure());
    // Put away again, the window looks as it did at the start wherever the time can have
    // changed nothing: the fish swims, the creature smiles at ten seconds, and the show button
    // now has the focus.
    const tk::Bitmap golden = startupGolden();
    int differing = -1;
    EXPECT_TRUE(eventually(limits::Seen, [&] {
        const tk::Bitmap shot = toy().screenshot();
        const std::optional<FishSighting> fish = findFish(shot, place::FishStart.y);
        if (!fish)
            return false;
        differing = differingOutside(shot, golden,
            { Rect { fish->at.x, fish->at.y, place::FishSize.width, place::FishSize.height },
                Rect { place::FishStart.x, place::FishStart.y, place::FishSize.width, place::FishSize.height }, place::CreatureSlot,
                place::ShowButton, place::EndButton });
        return differing == 0;
    })) << differing << " pixels differ from the start-up frame after the second press";
}

INSTANTIATE_TEST_SUITE_P(RealWindow, ShowButtonTest, ::testing::ValuesIn(ShowButtonUses),
    [](const ::testing::TestParamInfo<ShowButtonUse>& info) { return std::string(info.param.name); });
