#include "Art.h"
#include "Toy.h"

#include <gtest/gtest.h>

using namespace tk;

namespace {
std::vector<const TImage*> storedPictures(const TfrmMain& f)
{
    return { f.imgHappy, f.imgSleep, f.imgWeep, f.imgAngry, f.imgGaoh, f.imgFishL1, f.imgFishL2, f.imgFishL3, f.imgFishL4,
        f.imgFishLeft, f.imgFishRight, f.imgFishL5, f.imgFishR1, f.imgFishR2, f.imgFishR3, f.imgFishR4, f.imgFishR5, f.imgKutta };
}
}

TEST(ShowButton, LaysOutTheEighteenStoredPicturesAndHidesThemAgain)
{
    Toy toy;
    const TfrmMain& f = toy.form();
    toy.click(Toy::centreOf(f.btnDisplay));
    for (const TImage* image : storedPictures(f))
        EXPECT_TRUE(image->Visible()) << image->Name();
    EXPECT_TRUE(f.imgDorgo->Visible());
    EXPECT_TRUE(f.imgFish->Visible());
    // What a person sees: the sleeping face at its stored place, the fish in play below.
    EXPECT_EQ(toy.frame().pixel(f.imgSleep->Left() + 48, f.imgSleep->Top() + 20), f.imgSleep->Picture().pixel(48, 20));
    EXPECT_EQ(toy.frame().pixel(f.imgFishLeft->Left() + 16, f.imgFishLeft->Top() + 16),
        f.imgFishLeft->Picture().pixel(16, 16) | 0xFF000000u);

    toy.click(Toy::centreOf(f.btnDisplay));
    for (const TImage* image : storedPictures(f))
        EXPECT_FALSE(image->Visible()) << image->Name();
    EXPECT_TRUE(f.imgDorgo->Visible());
    EXPECT_TRUE(f.imgFish->Visible());
    EXPECT_EQ(toy.frame().pixel(f.imgSleep->Left() + 48, f.imgSleep->Top() + 20), colors::White);
}

TEST(ShowButton, FlipsEachPictureByItselfAndLeavesTheFishHiddenDuringAFeeding)
{
    Toy toy;
    TfrmMain& f = toy.form();
    toy.dragAndDrop(Toy::centreOf(f.imgFish), Toy::centreOf(f.imgDorgo));
    ASSERT_FALSE(f.imgFish->Visible());
    toy.key(Key::Tab); // focus to the show button
    toy.key(Key::Space);
    EXPECT_FALSE(f.imgFish->Visible());
    EXPECT_TRUE(f.imgKutta->Visible());
    toy.key(Key::Enter);
    EXPECT_FALSE(f.imgKutta->Visible());
}

TEST(ShowButton, ShownPicturesShowTheFishInPlayAfterATurn)
{
    Toy toy({ .seed = 11 });
    toy.click(Toy::centreOf(toy.form().btnDisplay));
    toy.wait(6000);
    int n = toy.fishSpecies();
    ASSERT_GE(n, 1);
    Bitmap frame = toy.frame();
    const TImage* right = toy.form().imgFishRight;
    Bitmap expected = art::Picture("imgFishR" + std::to_string(n));
    int mismatches = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            mismatches += frame.pixel(right->Left() + x, right->Top() + y) != (expected.pixel(x, y) | 0xFF000000u);
    EXPECT_EQ(mismatches, 0);
}

struct Ending {
    const char* name;
    std::function<void(Toy&)> act;
};

void PrintTo(const Ending& e, std::ostream* os)
{
    *os << e.name;
}

class EndingTheProgram : public testing::TestWithParam<Ending> { };

TEST_P(EndingTheProgram, EndsWithExitCodeZero)
{
    Toy toy;
    GetParam().act(toy);
    EXPECT_TRUE(toy.ended());
    EXPECT_EQ(toy.exitCode(), 0);
    EXPECT_TRUE(toy.platform().windows().empty());
}

INSTANTIATE_TEST_SUITE_P(Ways, EndingTheProgram,
    testing::Values(Ending { "EndButton", [](Toy& t) { t.click(Toy::centreOf(t.form().btnEnd)); } },
        Ending { "EnterOnTheFocusedEndButton", [](Toy& t) { t.key(Key::Enter); } },
        Ending { "SpaceAfterTabbingRound",
            [](Toy& t) {
                t.key(Key::Tab);
                t.key(Key::Tab);
                t.key(Key::Space);
            } },
        Ending { "CloseBox", [](Toy& t) { t.platform().requestClose(t.mainWindow()); } },
        Ending { "EndButtonDuringTheEatingSequence",
            [](Toy& t) {
                t.dragAndDrop(Toy::centreOf(t.form().imgFish), Toy::centreOf(t.form().imgDorgo));
                t.wait(1500);
                t.click(Toy::centreOf(t.form().btnEnd));
            } },
        Ending { "CloseBoxWithThePicturesShown",
            [](Toy& t) {
                t.click(Toy::centreOf(t.form().btnDisplay));
                t.platform().requestClose(t.mainWindow());
            } }),
    [](const testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });
