#include "TControl.h"

#include "TForm.h"

namespace tk {

void TControl::SetBounds(const Rect& bounds)
{
    if (bounds == m_bounds)
        return;
    invalidate();
    m_bounds = bounds;
    invalidate();
}

void TControl::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    Owner()->invalidate(m_bounds);
}

void TControl::BeginDrag(DragStart start, int threshold)
{
    Owner()->beginDrag(*this, start, threshold);
}

void TControl::invalidate() const
{
    if (m_visible)
        Owner()->invalidate(m_bounds);
}

}
