#include "Art.h"
#include "Png.h"
#include "Toy.h"

#include <gtest/gtest.h>

#include <array>

using namespace tk;

TEST(Startup, TheCreatureSleepsAndAFishOfOneSpeciesWaitsAtItsPlaceFacingLeft)
{
    Toy toy;
    TfrmMain& f = toy.form();
    EXPECT_EQ(toy.face(), "imgSleep");
    EXPECT_EQ(f.imgFish->BoundsRect(), (Rect { 240, 120, 32, 32 }));
    EXPECT_TRUE(f.imgFish->Visible());
    EXPECT_EQ(f.imgFish->Picture(), f.imgFishLeft->Picture());
    int n = toy.fishSpecies();
    ASSERT_GE(n, 1);
    EXPECT_EQ(f.imgFishLeft->Picture(), art::Picture("imgFishL" + std::to_string(n)));
    EXPECT_EQ(f.imgFishRight->Picture(), art::Picture("imgFishR" + std::to_string(n)));

    EXPECT_TRUE(f.timDorgo->Enabled());
    EXPECT_TRUE(f.timFish->Enabled());
    EXPECT_FALSE(f.timKutta->Enabled());
    EXPECT_EQ(f.ActiveControl(), f.btnEnd);
    EXPECT_TRUE(FishFacingLeft);
    EXPECT_EQ(SwimStep, -10);
    EXPECT_EQ(SwimCount, 0);
    EXPECT_EQ(IdleCount, 0);
    EXPECT_EQ(EatCount, 0);
    EXPECT_FALSE(Teased);
}

TEST(Startup, StartingAgainResetsTheStateOfAnEarlierRun)
{
    {
        Toy first;
        first.wait(8000); // a turn: the fish now faces right
        ASSERT_FALSE(FishFacingLeft);
    }
    Toy second;
    EXPECT_TRUE(FishFacingLeft);
    EXPECT_EQ(SwimStep, -10);
    EXPECT_EQ(SwimCount, 0);
    EXPECT_EQ(IdleCount, 0);
}

TEST(Startup, TheFirstFrameMatchesTheGolden)
{
    Toy toy({ .seed = 1 });
    EXPECT_TRUE(matchesGolden(toy.frame(), "startup"));
}

TEST(ChangeFish, SpeciesComeUpAboutEquallyOftenAndMayRepeat)
{
    Toy toy({ .seed = 20261211 });
    constexpr int Turns = 1000;
    std::array<int, 6> counts {};
    int repeats = 0, previous = toy.fishSpecies();
    for (int i = 0; i < Turns; ++i) {
        toy.wait(6000); // one turn, and a new species, every six swim ticks
        int n = toy.fishSpecies();
        ASSERT_GE(n, 1);
        ++counts[static_cast<std::size_t>(n)];
        repeats += n == previous;
        previous = n;
    }
    for (int n = 1; n <= 5; ++n) {
        // Expected 200 each; 150 to 250 is more than four standard deviations either side.
        EXPECT_GT(counts[static_cast<std::size_t>(n)], 150) << "species " << n;
        EXPECT_LT(counts[static_cast<std::size_t>(n)], 250) << "species " << n;
    }
    EXPECT_GT(repeats, 100);
}

TEST(ChangeFish, KeepsTheFacingAndOnATurnShowsTheOtherFacingOfTheNewSpecies)
{
    Toy toy({ .seed = 7 });
    toy.wait(6000);
    EXPECT_FALSE(FishFacingLeft);
    int n = toy.fishSpecies();
    ASSERT_GE(n, 1);
    EXPECT_FALSE(toy.fishFacesLeft());
    EXPECT_EQ(toy.form().imgFish->Picture(), toy.form().imgFishRight->Picture());
    EXPECT_EQ(toy.form().imgFishLeft->Picture(), art::Picture("imgFishL" + std::to_string(n)));
}

TEST(ChangeFish, LeavesAHiddenFishHiddenAndInPlace)
{
    Toy toy;
    // A feeding hides the fish and chooses the next one while it is hidden.
    toy.dragAndDrop(Toy::centreOf(toy.form().imgFish), Toy::centreOf(toy.form().imgDorgo));
    const TImage* fish = toy.form().imgFish;
    EXPECT_FALSE(fish->Visible());
    EXPECT_EQ(fish->Width(), 32);
    EXPECT_EQ(fish->Height(), 32);
    EXPECT_EQ(fish->Picture(), toy.form().imgFishLeft->Picture());
    EXPECT_TRUE(toy.fishFacesLeft());
}
