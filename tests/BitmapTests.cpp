#include "Bitmap.h"
#include "Font.h"
#include "Painter.h"

#include <gtest/gtest.h>

using namespace tk;

namespace {
// clang-format off
const char* const kTwoByTwo[] = {
    "3 2 3 1",
    "  c None",
    "r c #FF0000",
    "w c #FFFFFF",
    "r w",
    "wr ",
};
const char* const kTwoCharsPerPixel[] = {
    "2 1 2 2",
    "aa c #000080",
    "ab c #00FF00",
    "abaa",
};
// clang-format on
}

TEST(Xpm, ReadsColoursAndTransparency)
{
    Bitmap b = Bitmap::fromXpm(kTwoByTwo);
    ASSERT_EQ(b.width(), 3);
    ASSERT_EQ(b.height(), 2);
    EXPECT_EQ(b.pixel(0, 0), colors::Red);
    EXPECT_EQ(b.pixel(1, 0), colors::Transparent);
    EXPECT_EQ(b.pixel(2, 0), colors::White);
    EXPECT_EQ(b.pixel(1, 1), colors::Red);
    EXPECT_FALSE(isOpaque(b.pixel(2, 1)));

    Bitmap two = Bitmap::fromXpm(kTwoCharsPerPixel);
    EXPECT_EQ(two.pixel(0, 0), colors::Lime);
    EXPECT_EQ(two.pixel(1, 0), colors::Navy);
}

TEST(Xpm, RejectsMalformedData)
{
    const char* const badHeader[] = { "3 x 1 1", "a c #000000", "aaa" };
    const char* const shortRow[] = { "3 1 1 1", "a c #000000", "aa" };
    const char* const unknownKey[] = { "2 1 1 1", "a c #000000", "ab" };
    const char* const badColour[] = { "1 1 1 1", "a c #12", "a" };
    EXPECT_THROW(Bitmap::fromXpm(badHeader), std::invalid_argument);
    EXPECT_THROW(Bitmap::fromXpm(shortRow), std::invalid_argument);
    EXPECT_THROW(Bitmap::fromXpm(unknownKey), std::invalid_argument);
    EXPECT_THROW(Bitmap::fromXpm(badColour), std::invalid_argument);
}

TEST(Painter, DrawsPicturesAtTheirOwnSizeInsideTheSlotAndKeepsTransparentPixels)
{
    Bitmap target(6, 4, colors::White);
    Painter painter(target, target.rect());
    Bitmap picture = Bitmap::fromXpm(kTwoByTwo);
    // The slot is smaller than the picture: it is cut at the slot's edge, never scaled.
    painter.drawBitmap({ 1, 1 }, picture, { 1, 1, 2, 5 });
    EXPECT_EQ(target.pixel(1, 1), colors::Red);
    EXPECT_EQ(target.pixel(2, 1), colors::White); // transparent: the surface shows
    EXPECT_EQ(target.pixel(3, 1), colors::White); // outside the slot
    EXPECT_EQ(target.pixel(2, 2), colors::Red);
    EXPECT_EQ(target.pixel(0, 0), colors::White);
}

TEST(Painter, NeverDrawsOutsideItsClip)
{
    Bitmap target(8, 8, colors::White);
    Painter painter(target, { 2, 2, 3, 3 });
    painter.fillRect({ -5, -5, 100, 100 }, colors::Blue);
    painter.drawButtonFace({ 0, 0, 8, 8 }, ButtonLook::Raised);
    painter.drawText({ -3, 0 }, "OK", colors::Black, Font::system(), { 0, 0, 8, 8 });
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if (!Rect { 2, 2, 3, 3 }.contains({ x, y })) {
                EXPECT_EQ(target.pixel(x, y), colors::White) << x << "," << y;
            }
        }
    }
}

TEST(Painter, StretchesOnlyWhenAskedAndScalesToTheSlot)
{
    Bitmap target(4, 4, colors::White);
    Painter painter(target, target.rect());
    Bitmap picture(2, 2, colors::Green);
    picture.setPixel(1, 1, colors::Red);
    painter.drawBitmapScaled({ 0, 0, 4, 4 }, picture);
    EXPECT_EQ(target.pixel(0, 0), colors::Green);
    EXPECT_EQ(target.pixel(1, 1), colors::Green);
    EXPECT_EQ(target.pixel(2, 2), colors::Red);
    EXPECT_EQ(target.pixel(3, 3), colors::Red);
}

TEST(Font, HasEveryCharacterTheToyShows)
{
    for (std::string_view text : { "モルタン", "ドルゴに魚を食べさせてください", "終了", "表示", "ここは駐魚禁止です", "OK", "Dorgo" }) {
        for (std::size_t pos = 0; pos < text.size();) {
            char32_t c = decodeUtf8(text, pos);
            EXPECT_NE(Font::system().glyph(c), nullptr) << "U+" << std::hex << unsigned(c) << " in " << text;
        }
    }
    EXPECT_EQ(Font::system().textWidth("ドルゴに魚を食べさせてください"), 15 * 14);
    EXPECT_EQ(Font::system().textWidth("OK"), 2 * 7);
}

TEST(Font, DrawsACharacterItLacksAsAVisibleBox)
{
    Bitmap target(16, 16, colors::White);
    Painter painter(target, target.rect());
    ASSERT_EQ(Font::system().glyph(U'鯨'), nullptr);
    painter.drawText({ 0, 0 }, "鯨", colors::Black, Font::system(), target.rect());
    int black = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            black += target.pixel(x, y) == colors::Black;
    // A hollow box: its outline is drawn, its middle is not.
    EXPECT_GT(black, 20);
    EXPECT_EQ(target.pixel(4, 6), colors::White);
    EXPECT_EQ(Font::system().textWidth("鯨"), Font::MissingGlyphAdvance);
}

TEST(Font, DecodesUtf8AndReplacesMalformedBytes)
{
    std::string text = "a\xE9\x80\x9A\xFFz";
    std::size_t pos = 0;
    EXPECT_EQ(decodeUtf8(text, pos), U'a');
    EXPECT_EQ(decodeUtf8(text, pos), U'通');
    EXPECT_EQ(decodeUtf8(text, pos), U'\uFFFD');
    EXPECT_EQ(decodeUtf8(text, pos), U'z');
    EXPECT_EQ(pos, text.size());
}
