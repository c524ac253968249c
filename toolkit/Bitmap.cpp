#include "Bitmap.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tk {

Bitmap::Bitmap(int width, int height, Color fill)
    : m_width(width < 0 ? 0 : width)
    , m_height(height < 0 ? 0 : height)
    , m_pixels(static_cast<std::size_t>(m_width) * m_height, fill)
{
}

namespace {

Color parseXpmColor(std::string_view definition, std::string_view line)
{
    // The colour definition is a list of "key value" pairs; only the "c" key is looked at.
    std::size_t pos = 0;
    auto nextWord = [&]() -> std::string_view {
        while (pos < definition.size() && definition[pos] == ' ')
            ++pos;
        std::size_t start = pos;
        while (pos < definition.size() && definition[pos] != ' ')
            ++pos;
        return definition.substr(start, pos - start);
    };
    for (std::string_view key = nextWord(); !key.empty(); key = nextWord()) {
        std::string_view value = nextWord();
        if (key != "c")
            continue;
        if (value == "None" || value == "none")
            return colors::Transparent;
        if (value.size() == 7 && value[0] == '#') {
            char* end = nullptr;
            std::string hex(value.substr(1));
            unsigned long rgb = std::strtoul(hex.c_str(), &end, 16);
            if (end == hex.c_str() + 6)
                return 0xFF000000u | static_cast<Color>(rgb);
        }
        break;
    }
    throw std::invalid_argument("XPM colour not understood: " + std::string(line));
}

}

Bitmap Bitmap::fromXpm(const char* const* xpm)
{
    if (!xpm || !xpm[0])
        throw std::invalid_argument("XPM data is empty");
    int width = 0, height = 0, colorCount = 0, charsPerPixel = 0;
    if (std::sscanf(xpm[0], "%d %d %d %d", &width, &height, &colorCount, &charsPerPixel) != 4
        || width <= 0 || height <= 0 || colorCount <= 0 || charsPerPixel <= 0 || charsPerPixel > 2)
        throw std::invalid_argument(std::string("XPM header not understood: ") + xpm[0]);

    std::map<std::string, Color, std::less<>> palette;
    for (int i = 0; i < colorCount; ++i) {
        const char* line = xpm[1 + i];
        if (!line || std::strlen(line) < static_cast<std::size_t>(charsPerPixel))
            throw std::invalid_argument("XPM colour table is short");
        std::string_view text(line);
        palette[std::string(text.substr(0, charsPerPixel))] = parseXpmColor(text.substr(charsPerPixel), text);
    }

    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        const char* line = xpm[1 + colorCount + y];
        if (!line || std::strlen(line) < static_cast<std::size_t>(width * charsPerPixel))
            throw std::invalid_argument("XPM pixel row " + std::to_string(y) + " is short");
        for (int x = 0; x < width; ++x) {
            auto it = palette.find(std::string_view(line + x * charsPerPixel, charsPerPixel));
            if (it == palette.end())
                throw std::invalid_argument("XPM pixel uses a colour that is not in its table");
            bitmap.setPixel(x, y, it->second);
        }
    }
    return bitmap;
}

Bitmap Bitmap::cropped(const Rect& area) const
{
    Bitmap out(area.width, area.height);
    Rect inside = area.intersected(rect());
    for (int y = inside.top; y < inside.bottom(); ++y)
        std::memcpy(out.row(y - area.top) + (inside.left - area.left), row(y) + inside.left,
            static_cast<std::size_t>(inside.width) * sizeof(Color));
    return out;
}

Bitmap Bitmap::mirrored() const
{
    Bitmap out(m_width, m_height);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            out.setPixel(m_width - 1 - x, y, pixel(x, y));
    return out;
}

}
