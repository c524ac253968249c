#include "Toy.h"

#include <gtest/gtest.h>

using namespace tk;

namespace {

Point fishCentre(const Toy& toy)
{
    return Toy::centreOf(toy.form().imgFish);
}

// Where the fish hangs for a pointer at this screen position: left of it, about level.
Point fishPlaceFor(Toy& toy, Point screen)
{
    auto w = toy.platform().window(toy.mainWindow());
    return { screen.x - w->frameOrigin.x - 37, screen.y - w->frameOrigin.y - 37 };
}

void feed(Toy& toy)
{
    toy.dragAndDrop(fishCentre(toy), Toy::centreOf(toy.form().imgDorgo));
}

// Holds the fish over the creature, then lets it go on the window's surface.
void tease(Toy& toy)
{
    toy.moveTo(fishCentre(toy));
    toy.press();
    toy.glideTo(Toy::centreOf(toy.form().imgDorgo));
    toy.glideTo({ 200, 220 });
    toy.release();
}

}

TEST(Feeding, AWholeFeedingRunsPleasedThenJustEatenThenAsleepWithANewFish)
{
    Toy toy;
    TfrmMain& f = toy.form();
    toy.wait(3500);
    const int idleAtDrop = IdleCount;
    const int swimAtDrop = SwimCount;
    feed(toy);
    EXPECT_FALSE(f.imgFish->Visible());
    EXPECT_EQ(toy.face(), "imgHappy");
    EXPECT_FALSE(f.timDorgo->Enabled());
    EXPECT_FALSE(f.timFish->Enabled());
    EXPECT_TRUE(f.timKutta->Enabled());
    EXPECT_TRUE(Teased);

    struct Step {
        Millis after;
        const char* face;
        bool fishVisible;
    };
    for (Step s : { Step { 1000, "imgHappy", false }, Step { 1000, "imgKutta", false }, Step { 1000, "imgSleep", true } }) {
        toy.wait(s.after);
        EXPECT_EQ(toy.face(), s.face);
        EXPECT_EQ(f.imgFish->Visible(), s.fishVisible);
        // Neither other timer ticks meanwhile.
        EXPECT_EQ(IdleCount, idleAtDrop);
        EXPECT_EQ(SwimCount, swimAtDrop);
    }
    EXPECT_EQ(f.imgFish->BoundsRect(), (Rect { 240, 120, 32, 32 }));
    EXPECT_FALSE(f.timKutta->Enabled());
    EXPECT_TRUE(f.timDorgo->Enabled());
    EXPECT_TRUE(f.timFish->Enabled());
    EXPECT_EQ(EatCount, 0);
    // What a person sees: the fish back at its starting place.
    EXPECT_EQ(toy.frame().pixel(256, 136), f.imgFish->Picture().pixel(16, 16) | 0xFF000000u);
    toy.wait(1000);
    EXPECT_EQ(IdleCount, idleAtDrop + 1);
    EXPECT_EQ(f.imgFish->Left(), 240 + SwimStep);
}

TEST(Feeding, TwoFeedingsInARowEachRunTheWholeSequence)
{
    Toy toy;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        feed(toy);
        EXPECT_EQ(toy.face(), "imgHappy");
        toy.wait(1000);
        EXPECT_EQ(toy.face(), "imgHappy");
        toy.wait(1000);
        EXPECT_EQ(toy.face(), "imgKutta");
        toy.wait(1000);
        EXPECT_EQ(toy.face(), "imgSleep");
        EXPECT_TRUE(toy.form().imgFish->Visible());
    }
}

TEST(Feeding, AFeedingIsDecidedByThePointerAnywhereInTheCreaturesWholeSlot)
{
    const Rect slot { 399, 148, 106, 117 };
    struct Case {
        Point pointer;
        bool feeds;
    };
    // The corners of the slot, white strips included, and just outside it.
    for (Case c : { Case { { slot.left, slot.top }, true }, Case { { slot.right() - 1, slot.top }, true },
             Case { { slot.right() - 1, slot.bottom() - 1 }, true }, Case { { slot.left, slot.bottom() - 1 }, true },
             Case { { slot.left + 100, slot.top + 60 }, true }, Case { { slot.left - 1, slot.top + 50 }, false },
             Case { { slot.left + 50, slot.bottom() }, false } }) {
        Toy toy;
        toy.dragAndDrop(fishCentre(toy), c.pointer);
        EXPECT_EQ(toy.form().timKutta->Enabled(), c.feeds) << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(toy.form().imgFish->Visible(), !c.feeds) << c.pointer.x << "," << c.pointer.y;
    }
}

TEST(Dragging, TheFishHangsBesideThePointerAndTheCreatureOpensItsMouth)
{
    Toy toy;
    toy.moveTo(fishCentre(toy));
    toy.press();
    EXPECT_FALSE(toy.form().timFish->Enabled());
    // Still over the fish, which refuses it: the fish stays, under the no-drop cursor.
    toy.moveTo({ 256 + 6, 136 });
    EXPECT_EQ(toy.platform().cursor(), CursorShape::NoDrop);
    EXPECT_EQ(toy.form().imgFish->BoundsRect(), (Rect { 240, 120, 32, 32 }));
    // Off the fish, over the surface: the fish jumps to hang beside the pointer.
    toy.moveTo({ 320, 136 });
    EXPECT_EQ(toy.platform().cursor(), CursorShape::Drag);
    Point place = fishPlaceFor(toy, toy.platform().pointer());
    EXPECT_EQ((Point { toy.form().imgFish->Left(), toy.form().imgFish->Top() }), place);
    EXPECT_EQ(toy.face(), "imgSleep");
    // Over the creature: the mouth opens, and stays open after the pointer leaves.
    toy.glideTo({ 450, 200 });
    EXPECT_EQ(toy.face(), "imgGaoh");
    EXPECT_TRUE(Teased);
    toy.glideTo({ 300, 200 });
    EXPECT_EQ(toy.face(), "imgGaoh");
    // Held, the fish does not swim.
    const Rect held = toy.form().imgFish->BoundsRect();
    toy.wait(5000);
    EXPECT_EQ(toy.form().imgFish->BoundsRect(), held);
}

TEST(Dragging, NoDragBeginsBeforeThePointerHasMovedFivePixels)
{
    Toy toy;
    toy.moveTo(fishCentre(toy));
    toy.press();
    // Four pixels right and down: still below the threshold, so nothing is asked of anyone.
    toy.moveTo({ 256 + 4, 136 + 4 });
    EXPECT_EQ(toy.platform().cursor(), CursorShape::Arrow);
    toy.release();
    EXPECT_EQ(toy.face(), "imgHappy");
    EXPECT_EQ(toy.form().imgFish->BoundsRect(), (Rect { 240, 120, 32, 32 }));
}

TEST(Dragging, OverAButtonTheFishKeepsHangingBesideThePointer)
{
    Toy toy;
    toy.moveTo(fishCentre(toy));
    toy.press();
    toy.glideTo(Toy::centreOf(toy.form().btnEnd));
    EXPECT_EQ(toy.platform().cursor(), CursorShape::Drag);
    Point place = fishPlaceFor(toy, toy.platform().pointer());
    EXPECT_EQ((Point { toy.form().imgFish->Left(), toy.form().imgFish->Top() }), place);
    EXPECT_EQ(toy.face(), "imgSleep");
    EXPECT_FALSE(Teased);
}

TEST(Dropping, PressAndReleaseWithoutMovingPleasesTheCreatureAndSwimmingResumesASecondLater)
{
    Toy toy;
    toy.wait(400);
    toy.click(fishCentre(toy));
    EXPECT_EQ(toy.face(), "imgHappy");
    EXPECT_EQ(toy.form().imgFish->Left(), 240);
    EXPECT_TRUE(toy.form().timFish->Enabled());
    toy.wait(999);
    EXPECT_EQ(toy.form().imgFish->Left(), 240);
    toy.wait(1);
    EXPECT_EQ(toy.form().imgFish->Left(), 230);
}

TEST(Dropping, ADropAfterTeasingIsAngryOrWeepingAboutHalfTheTimeEach)
{
    int angry = 0, weeping = 0;
    constexpr int Trials = 60;
    for (std::uint64_t seed = 1; seed <= Trials; ++seed) {
        Toy toy({ .seed = seed });
        tease(toy);
        std::string face = toy.face();
        angry += face == "imgAngry";
        weeping += face == "imgWeep";
        EXPECT_FALSE(Teased);
        EXPECT_TRUE(toy.form().timFish->Enabled());
    }
    EXPECT_EQ(angry + weeping, Trials);
    EXPECT_GT(angry, Trials / 5);
    EXPECT_GT(weeping, Trials / 5);
}

TEST(Dropping, TheFirstDropAfterAFeedingIsAngryOrWeepingEvenFarFromTheCreature)
{
    Toy toy;
    feed(toy);
    toy.wait(3000);
    ASSERT_TRUE(Teased);
    toy.dragAndDrop(fishCentre(toy), { 100, 100 });
    EXPECT_TRUE(toy.face() == "imgAngry" || toy.face() == "imgWeep") << toy.face();
    EXPECT_FALSE(Teased);
    toy.dragAndDrop(fishCentre(toy), { 100, 200 });
    EXPECT_EQ(toy.face(), "imgHappy");
}

TEST(Dropping, WithoutAnyTeasingADropPleasesTheCreatureAndTheFishSwimsOnFromThere)
{
    Toy toy;
    toy.dragAndDrop(fishCentre(toy), { 150, 230 });
    EXPECT_EQ(toy.face(), "imgHappy");
    const int left = toy.form().imgFish->Left();
    EXPECT_EQ(left, fishPlaceFor(toy, toy.platform().pointer()).x);
    toy.wait(1000);
    EXPECT_EQ(toy.form().imgFish->Left(), left + SwimStep);
}

class DropOnAButton : public testing::TestWithParam<const char*> { };

TEST_P(DropOnAButton, ShowsTheNoParkingMessageWithoutClickingTheButton)
{
    Toy toy;
    TfrmMain& f = toy.form();
    auto* button = dynamic_cast<TButton*>(f.FindComponent(GetParam()));
    // Below the creature, then up or down onto the button.
    toy.moveTo(fishCentre(toy));
    toy.press();
    toy.glideTo({ 330, 300 });
    toy.glideTo(Toy::centreOf(button));
    toy.release();
    ASSERT_FALSE(Teased);
    auto box = toy.messageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->title, "Dorgo");
    EXPECT_FALSE(toy.ended()); // the end button was not clicked
    EXPECT_FALSE(f.imgHappy->Visible()); // nor the show button
    EXPECT_EQ(toy.face(), "imgSleep");
    EXPECT_FALSE(f.timFish->Enabled());
    // The idle cycle goes on while the box is open; the fish waits.
    const int idle = IdleCount;
    const int left = f.imgFish->Left();
    toy.wait(3000);
    EXPECT_EQ(IdleCount, idle + 3);
    EXPECT_EQ(f.imgFish->Left(), left);
    toy.key(Key::Enter);
    EXPECT_FALSE(toy.messageBox());
    EXPECT_FALSE(toy.ended());
    EXPECT_TRUE(f.timFish->Enabled());
    toy.wait(1000);
    EXPECT_EQ(f.imgFish->Left(), left + SwimStep);
}

INSTANTIATE_TEST_SUITE_P(Buttons, DropOnAButton, testing::Values("btnEnd", "btnDisplay"));

TEST(Dropping, NoDragCanStartWhileTheMessageBoxIsOpen)
{
    Toy toy;
    toy.dragAndDrop(fishCentre(toy), Toy::centreOf(toy.form().btnDisplay));
    ASSERT_TRUE(toy.messageBox());
    const Rect before = toy.form().imgFish->BoundsRect();
    toy.dragAndDrop(fishCentre(toy), { 100, 100 });
    EXPECT_EQ(toy.form().imgFish->BoundsRect(), before);
    EXPECT_TRUE(toy.messageBox());
}

struct NoTargetDrop {
    const char* name;
    std::function<void(Toy&)> drop;
};

void PrintTo(const NoTargetDrop& d, std::ostream* os)
{
    *os << d.name;
}

class DropWithNoTarget : public testing::TestWithParam<NoTargetDrop> { };

TEST_P(DropWithNoTarget, CountsAsADropOnTheSurface)
{
    Toy toy;
    GetParam().drop(toy);
    EXPECT_FALSE(toy.messageBox());
    EXPECT_EQ(toy.face(), "imgHappy");
    EXPECT_TRUE(toy.form().timFish->Enabled());
    EXPECT_TRUE(toy.form().imgFish->Visible());
    EXPECT_FALSE(toy.form().timKutta->Enabled());
    EXPECT_EQ(toy.platform().cursor(), CursorShape::Arrow);
}

INSTANTIATE_TEST_SUITE_P(Drops, DropWithNoTarget,
    testing::Values(NoTargetDrop { "OnTheLabel", [](Toy& t) { t.dragAndDrop(fishCentre(t), { 300, 8 }); } },
        NoTargetDrop { "OnAShownStoredPicture",
            [](Toy& t) {
                t.click(Toy::centreOf(t.form().btnDisplay));
                // The shown angry face covers the fish's top: take it by its lower half.
                t.dragAndDrop({ 256, 145 }, Toy::centreOf(t.form().imgKutta));
            } },
        NoTargetDrop { "OutsideTheWindow",
            [](Toy& t) {
                t.moveTo(fishCentre(t));
                t.press();
                t.glideTo({ 380, 100 });
                t.glideTo({ 700, 100 });
                t.release();
            } },
        NoTargetDrop { "ByEscape",
            [](Toy& t) {
                t.moveTo(fishCentre(t));
                t.press();
                t.glideTo({ 300, 220 });
                t.key(Key::Escape);
                t.release();
            } },
        NoTargetDrop { "ByLosingTheFocus",
            [](Toy& t) {
                t.moveTo(fishCentre(t));
                t.press();
                t.glideTo(Toy::centreOf(t.form().btnEnd));
                t.platform().takeFocusAway();
            } },
        NoTargetDrop { "WithTheRightButton",
            [](Toy& t) {
                t.moveTo(fishCentre(t));
                t.press(MouseButton::Right);
                t.glideTo({ 150, 240 });
                t.release(MouseButton::Right);
            } }),
    [](const testing::TestParamInfo<NoTargetDrop>& info) { return std::string(info.param.name); });

TEST(Dropping, OnTheTitleBarTheFishIsLeftAboveTheClientAreaAndSwimsOnThere)
{
    Toy toy;
    auto w = *toy.platform().window(toy.mainWindow());
    toy.moveTo(fishCentre(toy));
    toy.press();
    toy.glideTo({ 300, -w.frame.top / 2 });
    toy.release();
    EXPECT_EQ(toy.face(), "imgHappy");
    const int top = toy.form().imgFish->Top();
    EXPECT_LT(top, 0);
    toy.wait(3000);
    EXPECT_EQ(toy.form().imgFish->Top(), top);
}

TEST(Dropping, ADropWhileTheIdleCycleShowsThePleasedFaceKeepsItsCount)
{
    Toy toy;
    toy.wait(10000);
    ASSERT_EQ(toy.face(), "imgHappy");
    tease(toy);
    EXPECT_EQ(IdleCount, 10);
    toy.wait(1000);
    EXPECT_EQ(toy.face(), "imgSleep");
    EXPECT_EQ(IdleCount, 0);
}

TEST(Dragging, TheWindowMovedMidDragPlacesTheFishFromItsNewPlace)
{
    Toy toy;
    toy.moveTo(fishCentre(toy));
    toy.press();
    toy.glideTo({ 150, 220 });
    toy.platform().moveWindow(toy.mainWindow(), { 300, 200 });
    toy.glideTo({ 120, 220 });
    EXPECT_EQ(toy.form().Left(), 300);
    Point place = fishPlaceFor(toy, toy.platform().pointer());
    EXPECT_EQ((Point { toy.form().imgFish->Left(), toy.form().imgFish->Top() }), place);
    toy.release();
    EXPECT_EQ(toy.face(), "imgHappy");
}
