#pragma once

#include "Geometry.h"

#include <cstdint>
#include <vector>

namespace tk {

// One pixel as 0xAARRGGBB. Alpha is either 0 (transparent) or 255 (opaque): pictures carry a
// mask, not blending. In memory this is the byte order B, G, R, A, which most window systems
// take as it is.
using Color = std::uint32_t;

namespace colors {
inline constexpr Color Black = 0xFF000000;
inline constexpr Color Maroon = 0xFF800000;
inline constexpr Color Green = 0xFF008000;
inline constexpr Color Olive = 0xFF808000;
inline constexpr Color Navy = 0xFF000080;
inline constexpr Color Purple = 0xFF800080;
inline constexpr Color Teal = 0xFF008080;
inline constexpr Color Grey = 0xFF808080;
inline constexpr Color Silver = 0xFFC0C0C0;
inline constexpr Color Red = 0xFFFF0000;
inline constexpr Color Lime = 0xFF00FF00;
inline constexpr Color Yellow = 0xFFFFFF00;
inline constexpr Color Blue = 0xFF0000FF;
inline constexpr Color Magenta = 0xFFFF00FF;
inline constexpr Color Cyan = 0xFF00FFFF;
inline constexpr Color White = 0xFFFFFFFF;
inline constexpr Color Transparent = 0x00000000;
}

inline constexpr bool isOpaque(Color c) { return (c >> 24) != 0; }

// A raster of pixels with a transparency mask folded into the alpha byte. Bitmaps are plain
// values: copying one copies its pixels, so a picture put somewhere else never changes with
// its source.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height, Color fill = colors::Transparent);

    // Builds a bitmap from XPM3 text (one or more characters a pixel, "c #RRGGBB" or "c None"
    // colours). XPM is valid C, so the pictures are compiled into the program. Throws
    // std::invalid_argument on malformed data.
    static Bitmap fromXpm(const char* const* xpm);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool empty() const { return m_width == 0 || m_height == 0; }
    Rect rect() const { return { 0, 0, m_width, m_height }; }

    Color pixel(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }
    void setPixel(int x, int y, Color c) { m_pixels[static_cast<std::size_t>(y) * m_width + x] = c; }

    Color* row(int y) { return m_pixels.data() + static_cast<std::size_t>(y) * m_width; }
    const Color* row(int y) const { return m_pixels.data() + static_cast<std::size_t>(y) * m_width; }
    const Color* data() const { return m_pixels.data(); }
    int pitchBytes() const { return m_width * static_cast<int>(sizeof(Color)); }

    // Returns a copy of the given area; parts outside the bitmap come out transparent.
    Bitmap cropped(const Rect& area) const;
    Bitmap mirrored() const;

    friend bool operator==(const Bitmap&, const Bitmap&) = default;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<Color> m_pixels;
};

}
