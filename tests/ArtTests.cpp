#include "Art.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace tk;

namespace {

const std::set<Color> kPalette = { colors::Black, colors::Maroon, colors::Green, colors::Olive, colors::Navy, colors::Purple,
    colors::Teal, colors::Grey, colors::Silver, colors::Red, colors::Lime, colors::Yellow, colors::Blue, colors::Magenta,
    colors::Cyan, colors::White };

const char* const kFaces[] = { "imgSleep", "imgHappy", "imgKutta", "imgAngry", "imgWeep", "imgGaoh" };

std::vector<std::string> fishNames()
{
    std::vector<std::string> names;
    for (char facing : { 'L', 'R' })
        for (int n = 1; n <= 5; ++n)
            names.push_back(std::string("imgFish") + facing + std::to_string(n));
    return names;
}

int transparentPixels(const Bitmap& b)
{
    int count = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            count += !isOpaque(b.pixel(x, y));
    return count;
}

}

TEST(Art, EveryPictureHasItsSizeAndUsesOnlyTheSixteenColours)
{
    ASSERT_EQ(art::Names().size(), 17u);
    for (std::string_view name : art::Names()) {
        Bitmap b = art::Picture(name);
        bool face = name.substr(0, 7) != "imgFish" && name != "MAINICON";
        EXPECT_EQ(b.width(), face ? 97 : 32) << name;
        EXPECT_EQ(b.height(), face ? 113 : 32) << name;
        for (int y = 0; y < b.height(); ++y) {
            for (int x = 0; x < b.width(); ++x) {
                if (isOpaque(b.pixel(x, y))) {
                    ASSERT_TRUE(kPalette.count(b.pixel(x, y))) << name << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(Art, FacesAndTheIconAreOpaqueAndFishOnlyAllowSpeciesTwoLeftItsFourteenHoles)
{
    for (const char* face : kFaces)
        EXPECT_EQ(transparentPixels(art::Picture(face)), 0) << face;
    EXPECT_EQ(transparentPixels(art::Picture("MAINICON")), 0);
    for (const std::string& fish : fishNames())
        EXPECT_EQ(transparentPixels(art::Picture(fish)), fish == "imgFishL2" ? 14 : 0) << fish;
}

TEST(Art, FacesSitOnBlackAndFishAndTheIconOnWhite)
{
    for (const char* face : kFaces)
        EXPECT_EQ(art::Picture(face).pixel(0, 0), colors::Black) << face;
    for (const std::string& fish : fishNames()) {
        Bitmap b = art::Picture(fish);
        int white = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                white += b.pixel(x, y) == colors::White;
        EXPECT_GT(white, 32 * 32 / 4) << fish;
    }
    EXPECT_EQ(art::Picture("MAINICON").pixel(0, 31), colors::White);
}

TEST(Art, EachRightFacingFishIsItsOwnDrawingNotAMirror)
{
    for (int n = 1; n <= 5; ++n) {
        Bitmap left = art::Picture("imgFishL" + std::to_string(n));
        Bitmap right = art::Picture("imgFishR" + std::to_string(n));
        EXPECT_NE(left.mirrored(), right) << n;
        // ... but it is the same fish turned round: most pixels agree with the mirror.
        int differing = 0;
        Bitmap mirror = left.mirrored();
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                differing += (mirror.pixel(x, y) | 0xFF000000u) != right.pixel(x, y);
        EXPECT_LT(differing, 32 * 32 / 8) << n;
    }
}

TEST(Art, NoTwoFacesAndNoTwoFishAreAlike)
{
    for (std::size_t i = 0; i < std::size(kFaces); ++i)
        for (std::size_t j = i + 1; j < std::size(kFaces); ++j)
            EXPECT_NE(art::Picture(kFaces[i]), art::Picture(kFaces[j])) << kFaces[i] << " " << kFaces[j];
    auto fish = fishNames();
    for (std::size_t i = 0; i < fish.size(); ++i)
        for (std::size_t j = i + 1; j < fish.size(); ++j)
            EXPECT_NE(art::Picture(fish[i]), art::Picture(fish[j])) << fish[i] << " " << fish[j];
}

TEST(Art, AnUnknownNameHasNoPicture)
{
    EXPECT_THROW(art::Picture("imgFishL6"), std::out_of_range);
}
