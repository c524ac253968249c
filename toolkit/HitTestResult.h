#pragma once

namespace tk {

class TControl;

// Where a point of a form's client area falls: on a control, on the form's own surface (its
// frame included), or outside the window altogether.
struct HitTestResult {
    enum class Where { Outside, Surface, Control };
    Where where = Where::Outside;
    TControl* control = nullptr;
    friend bool operator==(const HitTestResult&, const HitTestResult&) = default;
};

}
