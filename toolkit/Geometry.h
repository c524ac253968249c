#pragma once

#include <algorithm>

namespace tk {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(Point, Point) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(Size, Size) = default;
};

// A rectangle with an exclusive right and bottom edge; an empty one has no area.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool empty() const { return width <= 0 || height <= 0; }
    bool contains(Point p) const { return p.x >= left && p.x < right() && p.y >= top && p.y < bottom(); }

    Rect intersected(const Rect& o) const
    {
        int l = std::max(left, o.left), t = std::max(top, o.top);
        int r = std::min(right(), o.right()), b = std::min(bottom(), o.bottom());
        if (r <= l || b <= t)
            return {};
        return { l, t, r - l, b - t };
    }

    Rect united(const Rect& o) const
    {
        if (empty())
            return o;
        if (o.empty())
            return *this;
        int l = std::min(left, o.left), t = std::min(top, o.top);
        int r = std::max(right(), o.right()), b = std::max(bottom(), o.bottom());
        return { l, t, r - l, b - t };
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};

// Widths of a window's frame on each side: title bar and borders drawn by the window system.
struct FrameExtents {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const FrameExtents&, const FrameExtents&) = default;
};

}
