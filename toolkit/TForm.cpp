#include "TForm.h"

#include "Application.h"
#include "Painter.h"
#include "TButton.h"

#include <algorithm>
#include <cctype>

namespace tk {

TForm::TForm(Application& application, std::string name, WindowRole role)
    : TComponent(nullptr, std::move(name))
    , m_application(application)
    , m_role(role)
    , m_drag(*this)
{
    m_application.registerForm(*this);
}

TForm::~TForm()
{
    // Components go first: none of them may outlive the form they point back to.
    m_components.clear();
    if (m_window != NoWindow)
        m_application.platform().destroyWindow(m_window);
    m_application.unregisterForm(*this);
}

int TForm::Left() const
{
    return Showing() ? m_application.platform().frameOrigin(m_window).x : m_outerOrigin.x;
}

int TForm::Top() const
{
    return Showing() ? m_application.platform().frameOrigin(m_window).y : m_outerOrigin.y;
}

void TForm::SetBounds(Point outerOrigin, Size outerSize)
{
    m_outerOrigin = outerOrigin;
    m_outerSize = outerSize;
    m_clientSize = outerSize;
}

void TForm::SetColor(tk::Color color)
{
    m_color = color;
    invalidate();
}

TComponent* TForm::FindComponent(std::string_view name) const
{
    auto sameName = [name](const std::string& other) {
        return other.size() == name.size()
            && std::equal(other.begin(), other.end(), name.begin(), [](unsigned char a, unsigned char b) {
                   return std::tolower(a) == std::tolower(b);
               });
    };
    for (const auto& component : m_components) {
        if (sameName(component->Name()))
            return component.get();
    }
    return nullptr;
}

void TForm::SetActiveControl(TButton* button)
{
    if (m_activeControl == button)
        return;
    if (m_activeControl)
        m_activeControl->invalidate();
    m_activeControl = button;
    if (m_activeControl)
        m_activeControl->invalidate();
}

void TForm::doCreate()
{
    if (OnCreate)
        OnCreate(this);
}

void TForm::Show()
{
    if (Showing() || m_closed)
        return;
    WindowSpec request;
    request.title = m_caption;
    request.outerOrigin = m_outerOrigin;
    request.outerSize = m_outerSize;
    request.role = m_role;
    request.icon = m_application.Icon().empty() ? nullptr : &m_application.Icon();
    m_window = m_application.platform().createWindow(request);
    resizeClient(m_application.platform().clientSize(m_window));
}

void TForm::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_drag.cancel();
    if (m_window != NoWindow) {
        m_application.platform().destroyWindow(m_window);
        m_window = NoWindow;
    }
    m_application.formClosed(*this);
}

HitTestResult TForm::hitTest(Point client) const
{
    Rect clientRect { 0, 0, m_clientSize.width, m_clientSize.height };
    if (!clientRect.contains(client)) {
        // The window's own frame (title bar and borders) counts as its surface.
        FrameExtents frame = Showing() ? m_application.platform().frameExtents(m_window) : FrameExtents {};
        Rect outer { -frame.left, -frame.top, clientRect.width + frame.left + frame.right, clientRect.height + frame.top + frame.bottom };
        return { outer.contains(client) ? HitTestResult::Where::Surface : HitTestResult::Where::Outside, nullptr };
    }
    // Buttons first, then pictures and labels; later ones lie above earlier ones.
    for (bool onTop : { true, false }) {
        for (auto it = m_components.rbegin(); it != m_components.rend(); ++it) {
            auto* control = dynamic_cast<TControl*>(it->get());
            if (control && control->Visible() && control->drawnOnTop() == onTop && control->BoundsRect().contains(client))
                return { HitTestResult::Where::Control, control };
        }
    }
    return { HitTestResult::Where::Surface, nullptr };
}

void TForm::invalidate(const Rect& area)
{
    Rect clipped = area.intersected({ 0, 0, m_clientSize.width, m_clientSize.height });
    m_dirty = m_dirty.united(clipped);
}

void TForm::invalidate()
{
    invalidate({ 0, 0, m_clientSize.width, m_clientSize.height });
}

void TForm::composite(Bitmap& target, const Rect& area) const
{
    Painter painter(target, area);
    painter.fillRect(area, m_color);
    for (bool onTop : { false, true }) {
        for (const auto& component : m_components) {
            auto* control = dynamic_cast<const TControl*>(component.get());
            if (control && control->Visible() && control->drawnOnTop() == onTop && !control->BoundsRect().intersected(area).empty())
                control->paint(painter);
        }
    }
}

void TForm::paint()
{
    if (!Showing() || m_dirty.empty())
        return;
    Rect dirty = m_dirty;
    m_dirty = {};
    composite(m_frame, dirty);
    m_application.platform().present(m_window, m_frame, dirty);
}

void TForm::resizeClient(Size size)
{
    if (size.width < 0 || size.height < 0)
        size = {};
    m_clientSize = size;
    m_frame = Bitmap(size.width, size.height, m_color);
    m_dirty = {};
    invalidate();
    clientResized();
}

void TForm::beginDrag(TControl& source, DragStart start, int threshold)
{
    m_drag.begin(source, m_pointer, start, threshold);
}

void TForm::handleEvent(const Event& event)
{
    switch (event.type) {
    case Event::Type::MouseDown:
        mouseDown(event);
        break;
    case Event::Type::MouseMove:
        mouseMove(event);
        break;
    case Event::Type::MouseUp:
        mouseUp(event);
        break;
    case Event::Type::KeyDown:
        keyDown(event);
        break;
    case Event::Type::FocusLost:
        // Losing the focus takes the pointer capture with it.
        m_drag.cancel();
        releasePressedButton();
        break;
    case Event::Type::CloseRequested:
        Close();
        break;
    case Event::Type::Exposed:
        invalidate();
        break;
    case Event::Type::Resized:
        resizeClient(event.size);
        break;
    case Event::Type::WindowSystemGone:
        break;
    }
}

void TForm::mouseDown(const Event& event)
{
    m_pointer = event.pos;
    if (m_drag.inProgress() || m_pressedButton)
        return;
    HitTestResult hit = hitTest(event.pos);
    if (hit.where != HitTestResult::Where::Control)
        return;
    TControl* control = hit.control;
    if (auto* button = dynamic_cast<TButton*>(control)) {
        if (event.button == MouseButton::Left) {
            SetActiveControl(button);
            m_pressedButton = button;
            button->setPressed(true);
        }
        return;
    }
    if (control->OnMouseDown)
        control->OnMouseDown(control, event.button, event.modifiers, event.pos.x - control->Left(), event.pos.y - control->Top());
}

void TForm::mouseMove(const Event& event)
{
    m_pointer = event.pos;
    if (m_drag.inProgress())
        m_drag.move(event.pos);
    else if (m_pressedButton)
        m_pressedButton->setPressed(m_pressedButton->BoundsRect().contains(event.pos));
}

void TForm::mouseUp(const Event& event)
{
    m_pointer = event.pos;
    if (event.button == MouseButton::Middle)
        return;
    if (m_drag.inProgress()) {
        m_drag.release(event.pos);
        return;
    }
    if (m_pressedButton && event.button == MouseButton::Left) {
        TButton* button = m_pressedButton;
        bool over = hitTest(event.pos).control == button;
        releasePressedButton();
        if (over)
            button->Click();
    }
}

void TForm::releasePressedButton()
{
    if (m_pressedButton) {
        m_pressedButton->setPressed(false);
        m_pressedButton = nullptr;
    }
}

void TForm::keyDown(const Event& event)
{
    if (m_drag.inProgress()) {
        if (event.key == Key::Escape)
            m_drag.cancel();
        return;
    }
    switch (event.key) {
    case Key::Tab:
        focusNext(has(event.modifiers, Modifiers::Shift));
        break;
    // A held key presses a button once: its repeats would otherwise run on into whatever
    // has the focus after the first press, such as the end button behind a closed message box.
    case Key::Space:
    case Key::Enter:
        if (event.press == KeyPress::First && m_activeControl && m_activeControl->Visible())
            m_activeControl->Click();
        break;
    case Key::Escape:
        if (event.press == KeyPress::First && CancelButton && CancelButton->Visible())
            CancelButton->Click();
        break;
    case Key::Other:
        break;
    }
}

void TForm::focusNext(bool backwards)
{
    std::vector<TButton*> order;
    for (const auto& component : m_components) {
        if (auto* button = dynamic_cast<TButton*>(component.get()); button && button->Visible())
            order.push_back(button);
    }
    if (order.empty())
        return;
    std::stable_sort(order.begin(), order.end(), [](TButton* a, TButton* b) { return a->TabOrder() < b->TabOrder(); });
    auto it = std::find(order.begin(), order.end(), m_activeControl);
    std::ptrdiff_t index = it == order.end() ? (backwards ? 0 : -1) : it - order.begin();
    std::ptrdiff_t count = static_cast<std::ptrdiff_t>(order.size());
    index = ((index + (backwards ? -1 : 1)) % count + count) % count;
    SetActiveControl(order[static_cast<std::size_t>(index)]);
}

}
