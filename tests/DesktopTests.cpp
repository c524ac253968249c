// What the desktop can do to the toy at odd moments: close, move, resize its window, take the
// focus away, or go away altogether.

#include "Dorgo.h"
#include "Toy.h"

#include <gtest/gtest.h>

using namespace tk;

namespace {

void holdFishOverCreature(Toy& toy)
{
    toy.moveTo(Toy::centreOf(toy.form().imgFish));
    toy.press();
    toy.glideTo(Toy::centreOf(toy.form().imgDorgo));
}

void openNoParkingMessage(Toy& toy)
{
    toy.moveTo(Toy::centreOf(toy.form().imgFish));
    toy.press();
    toy.glideTo({ 330, 300 });
    toy.glideTo(Toy::centreOf(toy.form().btnDisplay));
    toy.release();
}

}

TEST(Desktop, TheMainWindowsCloseBoxWaitsWhileTheMessageBoxIsOpen)
{
    Toy toy;
    openNoParkingMessage(toy);
    ASSERT_TRUE(toy.messageBox());
    // Like any window that owns an open modal box, the main window does not close under it.
    toy.platform().requestClose(toy.mainWindow());
    EXPECT_FALSE(toy.ended());
    EXPECT_TRUE(toy.messageBox());
    toy.wait(2000);
    toy.key(Key::Escape);
    EXPECT_FALSE(toy.messageBox());
    toy.platform().requestClose(toy.mainWindow());
    EXPECT_TRUE(toy.ended());
    EXPECT_EQ(toy.exitCode(), ExitClosed);
}

TEST(Desktop, ClosingTheWindowMidDragEndsTheProgramCleanly)
{
    Toy toy;
    holdFishOverCreature(toy);
    ASSERT_EQ(toy.face(), "imgGaoh");
    toy.platform().requestClose(toy.mainWindow());
    EXPECT_TRUE(toy.ended());
    EXPECT_EQ(toy.exitCode(), ExitClosed);
    EXPECT_TRUE(toy.platform().windows().empty());
}

struct Loss {
    const char* name;
    std::function<void(Toy&)> before;
};

void PrintTo(const Loss& l, std::ostream* os)
{
    *os << l.name;
}

class WindowSystemGoes : public testing::TestWithParam<Loss> { };

TEST_P(WindowSystemGoes, TheProgramEndsAtOnceWithItsOwnExitCode)
{
    Toy toy;
    GetParam().before(toy);
    toy.platform().loseDisplay();
    EXPECT_TRUE(toy.ended());
    EXPECT_EQ(toy.exitCode(), ExitWindowSystemGone);
}

INSTANTIATE_TEST_SUITE_P(When, WindowSystemGoes,
    testing::Values(Loss { "Idle", [](Toy&) { } }, Loss { "MidDrag", holdFishOverCreature },
        Loss { "WithTheMessageBoxOpen", openNoParkingMessage },
        Loss { "DuringTheEatingSequence",
            [](Toy& t) {
                t.dragAndDrop(Toy::centreOf(t.form().imgFish), Toy::centreOf(t.form().imgDorgo));
                t.wait(1500);
            } }),
    [](const testing::TestParamInfo<Loss>& info) { return std::string(info.param.name); });

TEST(Desktop, ResizingMovesNothingAndTheFishSwimsOnAcrossIt)
{
    Toy toy;
    const Rect creature = toy.form().imgDorgo->BoundsRect();
    // Smaller than the window's contents, then larger than the screen's half.
    toy.platform().resizeWindow(toy.mainWindow(), { 200, 150 });
    toy.wait(2000);
    EXPECT_EQ(toy.form().imgFish->Left(), 220);
    toy.platform().resizeWindow(toy.mainWindow(), { 900, 700 });
    toy.wait(1000);
    EXPECT_EQ(toy.form().imgFish->Left(), 210);
    EXPECT_EQ(toy.form().imgDorgo->BoundsRect(), creature);
    Bitmap frame = toy.frame();
    ASSERT_EQ(frame.width(), 900);
    EXPECT_EQ(frame.pixel(899, 699), colors::White);
    EXPECT_EQ(frame.pixel(600, 100), colors::White);
    EXPECT_EQ(frame.pixel(creature.left + 48, creature.top + 100), toy.form().imgSleep->Picture().pixel(48, 100));
}

TEST(Desktop, ResizingMidDragKeepsTheDrag)
{
    Toy toy;
    toy.moveTo(Toy::centreOf(toy.form().imgFish));
    toy.press();
    toy.glideTo({ 150, 230 });
    toy.platform().resizeWindow(toy.mainWindow(), { 700, 500 });
    toy.glideTo({ 620, 450 }); // in the new part of the surface
    toy.release();
    EXPECT_EQ(toy.face(), "imgHappy");
    EXPECT_EQ(toy.form().imgFish->Left(), 620 - 36);
}

TEST(Desktop, WindowMovedWhileTheFishSwimsChangesNothingInside)
{
    Toy toy;
    toy.wait(1000);
    toy.platform().moveWindow(toy.mainWindow(), { 20, 30 });
    toy.wait(1000);
    EXPECT_EQ(toy.form().imgFish->Left(), 220);
    EXPECT_EQ(toy.form().Left(), 20);
    EXPECT_EQ(toy.form().Top(), 30);
    // A feeding still works in the moved window.
    toy.dragAndDrop(Toy::centreOf(toy.form().imgFish), Toy::centreOf(toy.form().imgDorgo));
    EXPECT_TRUE(toy.form().timKutta->Enabled());
}

TEST(Desktop, HoldingEnterOnTheMessageBoxClosesItButDoesNotRunOnIntoTheEndButton)
{
    Toy toy;
    openNoParkingMessage(toy);
    ASSERT_TRUE(toy.messageBox());
    ASSERT_EQ(toy.form().ActiveControl(), toy.form().btnEnd);
    toy.key(Key::Enter);
    for (int i = 0; i < 5; ++i)
        toy.platform().key(Key::Enter, Modifiers::None, KeyPress::Repeat);
    EXPECT_FALSE(toy.messageBox());
    EXPECT_FALSE(toy.ended());
    // Tab repeats as it always did.
    toy.platform().key(Key::Tab, Modifiers::None, KeyPress::Repeat);
    EXPECT_EQ(toy.form().ActiveControl(), toy.form().btnDisplay);
}
