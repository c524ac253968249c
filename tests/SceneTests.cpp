#include "Art.h"
#include "Toy.h"

#include <gtest/gtest.h>

using namespace tk;

TEST(Scene, TheWindowHasItsCaptionPlaceAndSize)
{
    Toy toy;
    auto w = toy.platform().window(toy.mainWindow());
    ASSERT_TRUE(w);
    EXPECT_EQ(w->title, "モルタン");
    EXPECT_EQ(w->role, WindowRole::Main);
    EXPECT_EQ(w->frameOrigin, (Point { 185, 94 }));
    EXPECT_EQ(w->clientSize.width + w->frame.left + w->frame.right, 575);
    EXPECT_EQ(w->clientSize.height + w->frame.top + w->frame.bottom, 405);
    EXPECT_EQ(toy.form().Left(), 185);
    EXPECT_EQ(toy.form().Top(), 94);
}

TEST(Scene, WalkingTheElementsGivesAllTwentySixInCreationOrderTimersLast)
{
    Toy toy;
    const std::vector<std::string> expected = { "imgDorgo", "imgFish", "imgHappy", "imgSleep", "imgWeep", "imgAngry", "imgGaoh",
        "imgFishL1", "imgFishL2", "imgFishL3", "imgFishL4", "imgFishLeft", "imgFishRight", "imgFishL5", "imgFishR1", "imgFishR2",
        "imgFishR3", "imgFishR4", "imgFishR5", "imgKutta", "Label1", "btnEnd", "btnDisplay", "timDorgo", "timFish", "timKutta" };
    std::vector<std::string> names;
    for (int i = 0; i < toy.form().ComponentCount(); ++i)
        names.push_back(toy.form().Components(i)->Name());
    EXPECT_EQ(names, expected);
}

TEST(Scene, FindingANameIgnoresLetterCase)
{
    Toy toy;
    struct Case {
        const char* asked;
        const char* found; // null: none
    };
    for (Case c : { Case { "imgfishl3", "imgFishL3" }, Case { "IMGDORGO", "imgDorgo" }, Case { "label1", "Label1" },
             Case { "TimKutta", "timKutta" }, Case { "imgFishL6", nullptr }, Case { "imgFishL", nullptr }, Case { "", nullptr } }) {
        TComponent* component = toy.form().FindComponent(c.asked);
        if (c.found) {
            ASSERT_NE(component, nullptr) << c.asked;
            EXPECT_EQ(component->Name(), c.found);
        } else {
            EXPECT_EQ(component, nullptr) << c.asked;
        }
    }
}

TEST(Scene, ElementsHaveTheirPlacesSizesVisibilityAndTexts)
{
    Toy toy;
    TfrmMain& f = toy.form();
    struct Case {
        const TControl* control;
        Rect bounds;
        bool visible;
    };
    for (Case c : { Case { f.imgDorgo, { 399, 148, 106, 117 }, true }, Case { f.imgHappy, { 12, 24, 97, 113 }, false },
             Case { f.imgSleep, { 118, 24, 97, 113 }, false }, Case { f.imgWeep, { 322, 24, 97, 113 }, false },
             Case { f.imgAngry, { 220, 24, 97, 113 }, false }, Case { f.imgGaoh, { 118, 142, 97, 113 }, false },
             Case { f.imgFishL1, { 48, 272, 33, 33 }, false }, Case { f.imgFishLeft, { 312, 320, 33, 33 }, false },
             Case { f.imgFishRight, { 360, 320, 33, 33 }, false }, Case { f.imgFishL5, { 240, 272, 33, 33 }, false },
             Case { f.imgFishR5, { 240, 328, 33, 33 }, false }, Case { f.imgKutta, { 8, 144, 97, 113 }, false },
             Case { f.Label1, { 136, 0, 256, 18 }, true }, Case { f.btnEnd, { 400, 312, 105, 33 }, true },
             Case { f.btnDisplay, { 400, 272, 105, 33 }, true } }) {
        EXPECT_EQ(c.control->BoundsRect(), c.bounds) << c.control->Name();
        EXPECT_EQ(c.control->Visible(), c.visible) << c.control->Name();
    }
    EXPECT_EQ(f.Label1->Caption(), "ドルゴに魚を食べさせてください");
    EXPECT_EQ(f.btnEnd->Caption(), "終了");
    EXPECT_EQ(f.btnDisplay->Caption(), "表示");
    EXPECT_NE(dynamic_cast<TBitBtn*>(f.btnEnd), nullptr);
    EXPECT_TRUE(f.imgGaoh->Stretch());
    EXPECT_EQ(f.imgHappy->Picture(), art::Picture("imgHappy"));
    EXPECT_EQ(f.imgFishL3->Picture(), art::Picture("imgFishL3"));
    EXPECT_EQ(f.imgFishR2->Picture(), art::Picture("imgFishR2"));
    for (const TTimer* t : { f.timDorgo, f.timFish, f.timKutta })
        EXPECT_EQ(t->Interval(), 1000);
}

TEST(Scene, AFaceOnTheCreatureFillsTheTopLeftOfItsSlotAndTheStripsStayWhite)
{
    Toy toy;
    Bitmap frame = toy.frame();
    Bitmap face = art::Picture("imgSleep");
    const Rect slot = toy.form().imgDorgo->BoundsRect();
    int faceMismatches = 0, stripNotWhite = 0;
    for (int y = 0; y < slot.height; ++y) {
        for (int x = 0; x < slot.width; ++x) {
            Color seen = frame.pixel(slot.left + x, slot.top + y);
            if (x < 97 && y < 113)
                faceMismatches += seen != face.pixel(x, y);
            else
                stripNotWhite += seen != colors::White;
        }
    }
    EXPECT_EQ(faceMismatches, 0);
    EXPECT_EQ(stripNotWhite, 0);
}

TEST(Scene, TheFishOverTheCreatureHidesItUnderItsWholeTile)
{
    Toy toy;
    // Carry the fish over the creature; over the slot the fish hangs beside the pointer.
    toy.moveTo(Toy::centreOf(toy.form().imgFish));
    toy.press();
    toy.glideTo({ 470, 190 });
    const Rect fish = toy.form().imgFish->BoundsRect();
    ASSERT_FALSE(fish.intersected(toy.form().imgDorgo->BoundsRect()).empty());
    ASSERT_TRUE(toy.form().imgDorgo->BoundsRect().contains({ fish.left, fish.top }));
    Bitmap frame = toy.frame();
    const Bitmap& tile = toy.form().imgFish->Picture();
    int mismatches = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            mismatches += frame.pixel(fish.left + x, fish.top + y) != (tile.pixel(x, y) | 0xFF000000u);
    EXPECT_EQ(mismatches, 0);
}

TEST(Scene, ButtonsLieAboveTheFish)
{
    Toy toy;
    // Drop the fish so that it lies partly under the show button.
    toy.moveTo(Toy::centreOf(toy.form().imgFish));
    toy.press();
    toy.glideTo({ 420, 300 });
    toy.release();
    toy.key(Key::Enter); // the no-parking message
    const Rect fish = toy.form().imgFish->BoundsRect();
    const Rect button = toy.form().btnDisplay->BoundsRect();
    Rect overlap = fish.intersected(button);
    ASSERT_FALSE(overlap.empty());
    Point inside { overlap.left + overlap.width / 2, overlap.top + overlap.height / 2 };
    EXPECT_EQ(toy.form().hitTest(inside).control, toy.form().btnDisplay);
    EXPECT_EQ(toy.frame().pixel(inside.x, inside.y), colors::Silver);
}
