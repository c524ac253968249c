#include "Painter.h"

#include "Font.h"

#include <algorithm>

namespace tk {

Painter::Painter(Bitmap& target, const Rect& clip)
    : m_target(target)
    , m_clip(clip.intersected(target.rect()))
{
}

void Painter::fillRect(const Rect& rect, Color color)
{
    Rect area = rect.intersected(m_clip);
    for (int y = area.top; y < area.bottom(); ++y)
        std::fill_n(m_target.row(y) + area.left, area.width, color);
}

void Painter::drawBitmap(Point at, const Bitmap& bitmap, const Rect& bounds)
{
    Rect placed { at.x, at.y, bitmap.width(), bitmap.height() };
    Rect area = placed.intersected(bounds).intersected(m_clip);
    for (int y = area.top; y < area.bottom(); ++y) {
        const Color* src = bitmap.row(y - at.y) + (area.left - at.x);
        Color* dst = m_target.row(y) + area.left;
        for (int i = 0; i < area.width; ++i) {
            if (isOpaque(src[i]))
                dst[i] = src[i];
        }
    }
}

void Painter::drawBitmapScaled(const Rect& bounds, const Bitmap& bitmap)
{
    if (bitmap.empty() || bounds.empty())
        return;
    if (bounds.width == bitmap.width() && bounds.height == bitmap.height()) {
        drawBitmap({ bounds.left, bounds.top }, bitmap, bounds);
        return;
    }
    Rect area = bounds.intersected(m_clip);
    for (int y = area.top; y < area.bottom(); ++y) {
        int sy = (y - bounds.top) * bitmap.height() / bounds.height;
        const Color* src = bitmap.row(sy);
        Color* dst = m_target.row(y);
        for (int x = area.left; x < area.right(); ++x) {
            Color c = src[(x - bounds.left) * bitmap.width() / bounds.width];
            if (isOpaque(c))
                dst[x] = c;
        }
    }
}

void Painter::drawText(Point at, std::string_view utf8, Color color, const Font& font, const Rect& bounds)
{
    Rect saved = m_clip;
    m_clip = m_clip.intersected(bounds);
    int x = at.x;
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t code = decodeUtf8(utf8, pos);
        if (const Glyph* glyph = font.glyph(code)) {
            for (int row = 0; row < font.height(); ++row) {
                std::uint16_t bits = glyph->rows[row];
                for (int col = 0; bits != 0; ++col, bits = static_cast<std::uint16_t>(bits << 1)) {
                    if (bits & 0x8000)
                        setPixel(x + col, at.y + row, color);
                }
            }
            x += glyph->advance;
        } else {
            // A hollow box in place of a character the font lacks.
            int w = Font::MissingGlyphAdvance - 2, h = font.height() - 3;
            horizontalLine(x + 1, at.y + 1, w, color);
            horizontalLine(x + 1, at.y + h, w, color);
            verticalLine(x + 1, at.y + 1, h, color);
            verticalLine(x + w, at.y + 1, h, color);
            x += Font::MissingGlyphAdvance;
        }
    }
    m_clip = saved;
}

void Painter::drawButtonFace(const Rect& r, ButtonLook look)
{
    if (r.width < 4 || r.height < 4) {
        fillRect(r, colors::Silver);
        return;
    }
    fillRect(r, colors::Silver);
    if (look == ButtonLook::Raised) {
        // Light from the top left: white and silver edges there, black and grey at the bottom right.
        horizontalLine(r.left, r.top, r.width - 1, colors::White);
        verticalLine(r.left, r.top, r.height - 1, colors::White);
        horizontalLine(r.left, r.bottom() - 1, r.width, colors::Black);
        verticalLine(r.right() - 1, r.top, r.height, colors::Black);
        horizontalLine(r.left + 1, r.bottom() - 2, r.width - 2, colors::Grey);
        verticalLine(r.right() - 2, r.top + 1, r.height - 2, colors::Grey);
    } else {
        horizontalLine(r.left, r.top, r.width, colors::Black);
        verticalLine(r.left, r.top, r.height, colors::Black);
        horizontalLine(r.left + 1, r.top + 1, r.width - 2, colors::Grey);
        verticalLine(r.left + 1, r.top + 1, r.height - 2, colors::Grey);
        horizontalLine(r.left, r.bottom() - 1, r.width, colors::White);
        verticalLine(r.right() - 1, r.top, r.height, colors::White);
    }
}

void Painter::drawFocusRect(const Rect& r)
{
    for (int x = r.left; x < r.right(); x += 2) {
        setPixel(x, r.top, colors::Black);
        setPixel(x, r.bottom() - 1, colors::Black);
    }
    for (int y = r.top; y < r.bottom(); y += 2) {
        setPixel(r.left, y, colors::Black);
        setPixel(r.right() - 1, y, colors::Black);
    }
}

void Painter::horizontalLine(int x, int y, int length, Color c)
{
    fillRect({ x, y, length, 1 }, c);
}

void Painter::verticalLine(int x, int y, int length, Color c)
{
    fillRect({ x, y, 1, length }, c);
}

}
