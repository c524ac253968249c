#include "DragController.h"

#include "Application.h"
#include "TForm.h"

#include <cstdlib>

namespace tk {

using Where = HitTestResult::Where;

void DragController::begin(TControl& source, Point start, DragStart how, int threshold)
{
    if (m_source)
        return;
    m_source = &source;
    m_start = start;
    m_threshold = threshold < 0 ? DefaultDragThreshold : threshold;
    m_active = false;
    m_spot = {};
    m_accepted = false;
    if (how == DragStart::Immediately) {
        m_active = true;
        moveTo(start);
    }
}

void DragController::move(Point client)
{
    if (!m_source)
        return;
    if (!m_active) {
        if (std::abs(client.x - m_start.x) < m_threshold && std::abs(client.y - m_start.y) < m_threshold)
            return;
        m_active = true;
    }
    moveTo(client);
}

void DragController::release(Point client)
{
    if (!m_source)
        return;
    if (!m_active) {
        finish(nullptr, client);
        return;
    }
    // The drop goes to whatever is under the pointer where it was let go.
    if (spotAt(client) != m_spot)
        moveTo(client);
    TObject* target = nullptr;
    if (ask(m_spot, client, DragState::Leave)) {
        if (m_spot.where == Where::Surface)
            target = &m_form;
        else if (m_spot.where == Where::Control)
            target = m_spot.control;
    }
    finish(target, client);
}

void DragController::cancel()
{
    if (m_source)
        finish(nullptr, m_form.pointer());
}

DragController::Spot DragController::spotAt(Point client) const
{
    return m_form.hitTest(client);
}

bool DragController::ask(const Spot& spot, Point client, DragState state)
{
    bool accept = true;
    switch (spot.where) {
    case Where::Outside:
        return false;
    case Where::Surface:
        if (!m_form.OnDragOver)
            return false;
        m_form.OnDragOver(&m_form, m_source, client.x, client.y, state, accept);
        return accept;
    case Where::Control:
        if (!spot.control->OnDragOver)
            return spot.control->acceptsDropsWithoutHandler();
        spot.control->OnDragOver(spot.control, m_source, client.x - spot.control->Left(), client.y - spot.control->Top(), state, accept);
        return accept;
    }
    return false;
}

void DragController::moveTo(Point client)
{
    Spot spot = spotAt(client);
    if (spot != m_spot) {
        Spot old = m_spot;
        m_spot = spot;
        ask(old, client, DragState::Leave);
        ask(spot, client, DragState::Enter);
    }
    // A handler above may have ended the drag (by closing the form, say).
    if (!m_source)
        return;
    m_accepted = ask(m_spot, client, DragState::Move);
    m_form.application().platform().setCursor(m_accepted ? CursorShape::Drag : CursorShape::NoDrop);
}

void DragController::finish(TObject* target, Point client)
{
    // Clear the drag before calling out: the end-of-drag handler may open a modal box, and
    // nothing that happens there belongs to this drag any more.
    TControl* source = m_source;
    bool wasActive = m_active;
    m_source = nullptr;
    m_active = false;
    m_spot = {};
    if (wasActive)
        m_form.application().platform().setCursor(CursorShape::Arrow);
    if (source->OnEndDrag) {
        Point at = client;
        if (auto* control = dynamic_cast<TControl*>(target))
            at = { client.x - control->Left(), client.y - control->Top() };
        source->OnEndDrag(source, target, at.x, at.y);
    }
}

}
