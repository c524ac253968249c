#pragma once

#include "Bitmap.h"
#include "Geometry.h"

#include <string_view>

namespace tk {

class Font;

enum class ButtonLook { Raised, Sunken };

// Draws into one bitmap, never outside its clip rectangle. Pictures are copied pixel for
// pixel; transparent pixels leave what is under them.
class Painter {
public:
    Painter(Bitmap& target, const Rect& clip);

    const Rect& clip() const { return m_clip; }

    void fillRect(const Rect&, Color);
    // Draws the bitmap with its top-left corner at `at`, limited to `bounds` (the slot).
    void drawBitmap(Point at, const Bitmap&, const Rect& bounds);
    // Scales the bitmap to fill `bounds`, nearest pixel.
    void drawBitmapScaled(const Rect& bounds, const Bitmap&);
    // Draws one line of UTF-8 text with its top-left corner at `at`, limited to `bounds`.
    void drawText(Point at, std::string_view utf8, Color, const Font&, const Rect& bounds);
    void drawButtonFace(const Rect&, ButtonLook);
    // A dotted rectangle: every other pixel of its outline.
    void drawFocusRect(const Rect&);

private:
    void setPixel(int x, int y, Color c)
    {
        if (m_clip.contains({ x, y }))
            m_target.setPixel(x, y, c);
    }
    void horizontalLine(int x, int y, int length, Color);
    void verticalLine(int x, int y, int length, Color);

    Bitmap& m_target;
    Rect m_clip;
};

}
