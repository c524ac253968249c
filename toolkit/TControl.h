#pragma once

#include "Geometry.h"
#include "Platform.h"
#include "TComponent.h"

#include <functional>

namespace tk {

class Painter;

enum class DragState { Enter, Leave, Move };
enum class DragStart { Immediately, AfterThreshold };
inline constexpr int DefaultDragThreshold = 5;

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent = std::function<void(TObject* Sender, MouseButton Button, Modifiers Shift, int X, int Y)>;
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y, DragState State, bool& Accept)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

// A visible element of a form: a rectangle in the form's client area that draws itself and
// can be under the pointer. Changing its place or visibility repaints what it covered and
// what it now covers.
class TControl : public TComponent {
public:
    int Left() const { return m_bounds.left; }
    int Top() const { return m_bounds.top; }
    int Width() const { return m_bounds.width; }
    int Height() const { return m_bounds.height; }
    bool Visible() const { return m_visible; }
    Rect BoundsRect() const { return m_bounds; }

    void SetLeft(int left) { SetBounds({ left, m_bounds.top, m_bounds.width, m_bounds.height }); }
    void SetTop(int top) { SetBounds({ m_bounds.left, top, m_bounds.width, m_bounds.height }); }
    void SetBounds(const Rect& bounds);
    void SetVisible(bool visible);

    // Starts dragging this control. A deferred drag becomes active once the pointer has moved
    // the threshold or more from where it is now, horizontally or vertically.
    void BeginDrag(DragStart start, int threshold = DefaultDragThreshold);

    TMouseEvent OnMouseDown;
    TDragOverEvent OnDragOver;
    TEndDragEvent OnEndDrag;

    // Buttons lie above pictures and labels whatever their creation order.
    virtual bool drawnOnTop() const { return false; }
    // Whether the control takes a dragged control when it has no drag-over handler.
    virtual bool acceptsDropsWithoutHandler() const { return false; }

    virtual void paint(Painter&) const = 0;
    void invalidate() const;

protected:
    TControl(TForm& owner, std::string name, const Rect& bounds)
        : TComponent(&owner, std::move(name))
        , m_bounds(bounds)
    {
    }

private:
    Rect m_bounds;
    bool m_visible = true;
};

}
