#include "Font.h"

#include <algorithm>

namespace tk {

const Font& Font::system()
{
    static const Font font;
    return font;
}

const Glyph* Font::glyph(char32_t code) const
{
    const Glyph* end = kFontGlyphs + kFontGlyphCount;
    const Glyph* it = std::lower_bound(kFontGlyphs, end, code, [](const Glyph& g, char32_t c) { return g.code < c; });
    return it != end && it->code == code ? it : nullptr;
}

int Font::advance(char32_t code) const
{
    const Glyph* g = glyph(code);
    return g ? g->advance : MissingGlyphAdvance;
}

int Font::textWidth(std::string_view utf8) const
{
    int width = 0;
    for (std::size_t pos = 0; pos < utf8.size();)
        width += advance(decodeUtf8(utf8, pos));
    return width;
}

char32_t decodeUtf8(std::string_view text, std::size_t& pos)
{
    constexpr char32_t Replacement = 0xFFFD;
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(pos++);
    if (lead < 0x80)
        return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || lead > 0xF4)
        return Replacement;
    char32_t code = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size() || (byte(pos) & 0xC0) != 0x80)
            return Replacement;
        code = (code << 6) | (byte(pos++) & 0x3F);
    }
    return code;
}

}
