#pragma once

#include <cstdint>
#include <string_view>

namespace tk {

// One character of the bitmap font: its advance and 14 rows of pixels, the leftmost pixel in
// the top bit.
struct Glyph {
    char32_t code;
    std::uint8_t advance;
    std::uint16_t rows[14];
};

// The glyphs, sorted by code; generated into FontData.cpp by tools/make_font.py.
extern const Glyph kFontGlyphs[];
extern const int kFontGlyphCount;

// The toolkit's one font: 14-pixel characters, half-width for ASCII and full-width for Japanese,
// compiled into the program. A character the font lacks is drawn as a hollow box, so a missing
// glyph is seen rather than silently dropped.
class Font {
public:
    static const Font& system();

    int height() const { return 14; }
    // Blank rows above the characters in a line of text 18 pixels high.
    int textTopMargin() const { return 2; }

    const Glyph* glyph(char32_t code) const; // null when the font lacks it
    int advance(char32_t code) const;
    int textWidth(std::string_view utf8) const;

    static constexpr int MissingGlyphAdvance = 8;
};

// Reads one UTF-8 character at pos and moves pos past it. Malformed bytes read as U+FFFD.
char32_t decodeUtf8(std::string_view text, std::size_t& pos);

}
