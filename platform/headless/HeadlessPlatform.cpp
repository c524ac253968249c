#include "HeadlessPlatform.h"

#include <chrono>
#include <cstring>
#include <stdexcept>

namespace tk {

namespace {
// How long a driving call waits for the program to settle before calling it stuck. Generous:
// it only ever runs out when the program loops without waiting for input.
constexpr auto SettleLimit = std::chrono::seconds(20);

unsigned bit(MouseButton button) { return 1u << static_cast<unsigned>(button); }
}

HeadlessPlatform::HeadlessPlatform(Options options)
    : m_options(options)
{
}

WindowId HeadlessPlatform::createWindow(const WindowSpec& request)
{
    std::lock_guard lock(m_mutex);
    if (m_gone)
        throw PlatformError("the display is gone");
    WindowState w;
    w.id = m_nextId++;
    w.title = request.title;
    w.role = request.role;
    w.frame = request.role == WindowRole::Main ? m_options.mainFrame : m_options.dialogFrame;
    w.frameOrigin = request.outerOrigin;
    w.clientSize = { request.outerSize.width - w.frame.left - w.frame.right, request.outerSize.height - w.frame.top - w.frame.bottom };
    w.hasIcon = request.icon != nullptr;
    w.open = true;
    m_windows[w.id] = { w, Bitmap(w.clientSize.width, w.clientSize.height, colors::Black) };
    m_focus = w.id;
    return w.id;
}

void HeadlessPlatform::destroyWindow(WindowId id)
{
    std::lock_guard lock(m_mutex);
    m_windows.erase(id);
    if (m_capture == id) {
        m_capture = NoWindow;
        m_buttonsHeld = 0;
    }
    if (m_focus == id)
        m_focus = m_windows.empty() ? NoWindow : m_windows.rbegin()->first;
}

Size HeadlessPlatform::clientSize(WindowId id)
{
    std::lock_guard lock(m_mutex);
    const WindowState* w = find(id);
    return w ? w->clientSize : Size {};
}

Point HeadlessPlatform::frameOrigin(WindowId id)
{
    std::lock_guard lock(m_mutex);
    const WindowState* w = find(id);
    return w ? w->frameOrigin : Point {};
}

FrameExtents HeadlessPlatform::frameExtents(WindowId id)
{
    std::lock_guard lock(m_mutex);
    const WindowState* w = find(id);
    return w ? w->frame : FrameExtents {};
}

void HeadlessPlatform::present(WindowId id, const Bitmap& frame, const Rect& dirty)
{
    std::lock_guard lock(m_mutex);
    Window* w = findWindow(id);
    if (!w)
        return;
    Size client = w->state.clientSize;
    if (w->image.width() != client.width || w->image.height() != client.height)
        w->image = Bitmap(client.width, client.height, colors::Black);
    Rect area = dirty.intersected(frame.rect()).intersected(w->image.rect());
    for (int y = area.top; y < area.bottom(); ++y)
        std::memcpy(w->image.row(y) + area.left, frame.row(y) + area.left, static_cast<std::size_t>(area.width) * sizeof(Color));
    ++w->state.presents;
}

std::optional<Event> HeadlessPlatform::waitEvent(Millis deadline)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_gone) {
            Event gone;
            gone.type = Event::Type::WindowSystemGone;
            return gone;
        }
        if (!m_queue.empty()) {
            Input input = m_queue.front();
            m_queue.pop_front();
            if (std::optional<Event> event = translate(input))
                return event;
            continue;
        }
        if (deadline <= m_target) {
            m_clock = std::max(m_clock, deadline);
            return std::nullopt;
        }
        // Nothing to do before the driver moves the clock or gives input: hand over.
        m_clock = m_target;
        m_idle = true;
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return !m_queue.empty() || m_target > m_clock || m_gone; });
        m_idle = false;
    }
}

Millis HeadlessPlatform::now()
{
    std::lock_guard lock(m_mutex);
    return m_clock;
}

Point HeadlessPlatform::pointerScreenPosition()
{
    std::lock_guard lock(m_mutex);
    return m_pointer;
}

void HeadlessPlatform::setCursor(CursorShape shape)
{
    std::lock_guard lock(m_mutex);
    m_cursor = shape;
}

Size HeadlessPlatform::screenSize()
{
    return m_options.screen;
}

std::uint64_t HeadlessPlatform::clockSeed()
{
    return m_options.seed;
}

std::optional<Event> HeadlessPlatform::translate(const Input& input)
{
    Event event;
    switch (input.kind) {
    case Input::Kind::Move:
    case Input::Kind::Press:
    case Input::Kind::Release: {
        m_pointer = input.screen;
        // While a button is held the window that got the press keeps the pointer.
        WindowId target = m_capture != NoWindow ? m_capture : windowUnder(input.screen);
        if (input.kind == Input::Kind::Press) {
            if (target == NoWindow)
                return std::nullopt;
            m_capture = target;
            m_buttonsHeld |= bit(input.button);
            m_focus = target;
        } else if (input.kind == Input::Kind::Release) {
            if (!(m_buttonsHeld & bit(input.button)))
                return std::nullopt;
            m_buttonsHeld &= ~bit(input.button);
            if (m_buttonsHeld == 0)
                m_capture = NoWindow;
        }
        const WindowState* w = find(target);
        if (!w)
            return std::nullopt;
        event.type = input.kind == Input::Kind::Move ? Event::Type::MouseMove
            : input.kind == Input::Kind::Press       ? Event::Type::MouseDown
                                                     : Event::Type::MouseUp;
        event.window = target;
        event.pos = { input.screen.x - w->clientOrigin().x, input.screen.y - w->clientOrigin().y };
        event.button = input.button;
        event.modifiers = input.modifiers;
        return event;
    }
    case Input::Kind::Key:
        if (m_focus == NoWindow)
            return std::nullopt;
        event.type = Event::Type::KeyDown;
        event.window = m_focus;
        event.key = input.key;
        event.press = input.press;
        event.modifiers = input.modifiers;
        return event;
    case Input::Kind::Close:
        if (!find(input.window))
            return std::nullopt;
        event.type = Event::Type::CloseRequested;
        event.window = input.window;
        return event;
    case Input::Kind::FocusAway:
        if (m_focus == NoWindow)
            return std::nullopt;
        event.type = Event::Type::FocusLost;
        event.window = m_focus;
        m_focus = NoWindow;
        m_capture = NoWindow;
        m_buttonsHeld = 0;
        return event;
    case Input::Kind::Resize: {
        WindowState* w = find(input.window);
        if (!w)
            return std::nullopt;
        w->clientSize = input.size;
        event.type = Event::Type::Resized;
        event.window = input.window;
        event.size = input.size;
        return event;
    }
    case Input::Kind::Gone:
        m_gone = true;
        event.type = Event::Type::WindowSystemGone;
        return event;
    }
    return std::nullopt;
}

HeadlessPlatform::Window* HeadlessPlatform::findWindow(WindowId id)
{
    auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : &it->second;
}

HeadlessPlatform::WindowState* HeadlessPlatform::find(WindowId id)
{
    Window* w = findWindow(id);
    return w ? &w->state : nullptr;
}

const HeadlessPlatform::WindowState* HeadlessPlatform::find(WindowId id) const
{
    auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : &it->second.state;
}

WindowId HeadlessPlatform::windowUnder(Point screen) const
{
    // The newest window lies on top. Only a client area takes pointer input: the frame
    // belongs to the window manager.
    for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it) {
        const WindowState& w = it->second.state;
        Rect client { w.clientOrigin().x, w.clientOrigin().y, w.clientSize.width, w.clientSize.height };
        if (client.contains(screen))
            return w.id;
    }
    return NoWindow;
}

void HeadlessPlatform::post(Input input)
{
    std::unique_lock lock(m_mutex);
    if (m_ended)
        return;
    m_queue.push_back(input);
    m_changed.notify_all();
    settle(lock);
}

void HeadlessPlatform::settle(std::unique_lock<std::mutex>& lock)
{
    bool settled = m_changed.wait_for(lock, SettleLimit, [&] { return m_ended || (m_idle && m_queue.empty() && m_clock == m_target); });
    if (!settled)
        throw std::runtime_error("the program did not settle: it neither waits for input nor ends");
}

void HeadlessPlatform::advance(Millis ms)
{
    std::unique_lock lock(m_mutex);
    if (m_ended)
        return;
    m_target += ms;
    m_changed.notify_all();
    settle(lock);
}

void HeadlessPlatform::moveTo(Point screen)
{
    post(Input::of(Input::Kind::Move, screen));
}

void HeadlessPlatform::press(MouseButton button)
{
    Input input = Input::of(Input::Kind::Press, pointer());
    input.button = button;
    post(input);
}

void HeadlessPlatform::release(MouseButton button)
{
    Input input = Input::of(Input::Kind::Release, pointer());
    input.button = button;
    post(input);
}

void HeadlessPlatform::key(Key key, Modifiers modifiers, KeyPress press)
{
    Input input = Input::of(Input::Kind::Key);
    input.key = key;
    input.press = press;
    input.modifiers = modifiers;
    post(input);
}

void HeadlessPlatform::requestClose(WindowId id)
{
    Input input = Input::of(Input::Kind::Close);
    input.window = id;
    post(input);
}

void HeadlessPlatform::takeFocusAway()
{
    post(Input::of(Input::Kind::FocusAway));
}

void HeadlessPlatform::moveWindow(WindowId id, Point frameOrigin)
{
    std::lock_guard lock(m_mutex);
    if (WindowState* w = find(id))
        w->frameOrigin = frameOrigin;
}

void HeadlessPlatform::resizeWindow(WindowId id, Size clientSize)
{
    Input input = Input::of(Input::Kind::Resize);
    input.window = id;
    input.size = clientSize;
    post(input);
}

void HeadlessPlatform::loseDisplay()
{
    post(Input::of(Input::Kind::Gone));
}

std::vector<HeadlessPlatform::WindowState> HeadlessPlatform::windows() const
{
    std::lock_guard lock(m_mutex);
    std::vector<WindowState> out;
    for (const auto& [id, w] : m_windows)
        out.push_back(w.state);
    return out;
}

Bitmap HeadlessPlatform::screenshot(WindowId id) const
{
    std::lock_guard lock(m_mutex);
    auto it = m_windows.find(id);
    return it == m_windows.end() ? Bitmap {} : it->second.image;
}

std::optional<HeadlessPlatform::WindowState> HeadlessPlatform::window(WindowId id) const
{
    std::lock_guard lock(m_mutex);
    const WindowState* w = find(id);
    return w ? std::optional(*w) : std::nullopt;
}

Point HeadlessPlatform::pointer() const
{
    std::lock_guard lock(m_mutex);
    // The position the driver last asked for, even if the program has not taken it yet.
    for (auto it = m_queue.rbegin(); it != m_queue.rend(); ++it) {
        if (it->kind == Input::Kind::Move)
            return it->screen;
    }
    return m_pointer;
}

CursorShape HeadlessPlatform::cursor() const
{
    std::lock_guard lock(m_mutex);
    return m_cursor;
}

Millis HeadlessPlatform::clock() const
{
    std::lock_guard lock(m_mutex);
    return m_clock;
}

void HeadlessPlatform::programEnded()
{
    std::lock_guard lock(m_mutex);
    m_ended = true;
    m_changed.notify_all();
}

bool HeadlessPlatform::ended() const
{
    std::lock_guard lock(m_mutex);
    return m_ended;
}

}
