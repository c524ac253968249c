#include "Toy.h"

#include <gtest/gtest.h>

using namespace tk;

TEST(Swimming, TheFishSwingsAndTurnsAsANewSpeciesEverySixTicks)
{
    Toy toy({ .seed = 3 });
    struct Tick {
        int left;
        bool facingLeft;
    };
    // From 240: five steps left, a turn that already moves right, five more, a turn back.
    const Tick expected[] = { { 230, true }, { 220, true }, { 210, true }, { 200, true }, { 190, true }, { 200, false }, { 210, false },
        { 220, false }, { 230, false }, { 240, false }, { 250, false }, { 240, true } };
    int turns = 0;
    for (int i = 0; i < 12; ++i) {
        const Bitmap before = toy.form().imgFish->Picture();
        toy.wait(1000);
        SCOPED_TRACE("tick " + std::to_string(i + 1));
        EXPECT_EQ(toy.form().imgFish->Left(), expected[i].left);
        EXPECT_EQ(toy.form().imgFish->Top(), 120);
        EXPECT_EQ(toy.fishFacesLeft(), expected[i].facingLeft);
        EXPECT_EQ(FishFacingLeft, expected[i].facingLeft);
        turns += toy.form().imgFish->Picture() != before;
    }
    // Only a turn changes the fish's picture, and a turn always does (it changes facing).
    EXPECT_EQ(turns, 2);
    EXPECT_EQ(SwimCount, 0);
    EXPECT_EQ(SwimStep, -10);
}

TEST(IdleCycle, TheCreatureWakesPleasedForOneTickInEleven)
{
    Toy toy;
    struct Step {
        Millis at;
        const char* face;
        int idleCount;
    };
    for (Step s : { Step { 9000, "imgSleep", 9 }, Step { 10000, "imgHappy", 10 }, Step { 11000, "imgSleep", 0 },
             Step { 20000, "imgSleep", 9 }, Step { 21000, "imgHappy", 10 }, Step { 22000, "imgSleep", 0 } }) {
        toy.wait(s.at - toy.platform().clock());
        EXPECT_EQ(toy.face(), s.face) << "at " << s.at;
        EXPECT_EQ(IdleCount, s.idleCount) << "at " << s.at;
    }
}

TEST(IdleCycle, AFaceFromADropStaysUntilTheCycleNextShowsOne)
{
    Toy toy;
    toy.wait(4500);
    toy.click(Toy::centreOf(toy.form().imgFish)); // a drop with no drag: the pleased face
    EXPECT_EQ(toy.face(), "imgHappy");
    EXPECT_EQ(IdleCount, 4);
    toy.wait(5000); // up to count 9
    EXPECT_EQ(toy.face(), "imgHappy");
    toy.wait(2000); // 10 (pleased again), then 11: asleep
    EXPECT_EQ(toy.face(), "imgSleep");
    EXPECT_EQ(IdleCount, 0);
}
