#include "Win32Platform.h"

#include "DragCursor.h"
#include "WideText.h"

#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace tk {

namespace {

constexpr wchar_t WindowClassName[] = L"DorgoWindow";
constexpr wchar_t IconResourceName[] = L"MAINICON";


// What CreateWindowExW hands to the window procedure, so that the very first messages of a
// new window already find the backend and the window's place in it.
struct CreationParams {
    Win32Platform* platform = nullptr;
    WindowId id = NoWindow;
};

std::string lastErrorText(const char* what)
{
    return std::string(what) + " (Windows error " + std::to_string(GetLastError()) + ")";
}

// The toolkit's frames are 32-bit pixels, top row first, in the byte order B, G, R, A, which is
// what a top-down BI_RGB bitmap is. The GDI ignores the fourth byte of such pixels.
void drawFrame(HDC dc, const Bitmap& frame, const Rect& area)
{
    if (area.empty())
        return;
    // Only the rows of the area are handed over, as a bitmap of their own that the source
    // rectangle fills from top to bottom. StretchDIBits measures the source rectangle of a
    // top-down bitmap from its bottom edge, which this sidesteps.
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = frame.width();
    info.bmiHeader.biHeight = -area.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, area.left, area.top, area.width, area.height, area.left, 0, area.width, area.height,
        frame.row(area.top), &info, DIB_RGB_COLORS, SRCCOPY);
}

Modifiers modifiersFromMouse(WPARAM keys)
{
    Modifiers mods = Modifiers::None;
    if (keys & MK_SHIFT)
        mods = mods | Modifiers::Shift;
    if (keys & MK_CONTROL)
        mods = mods | Modifiers::Ctrl;
    if (GetKeyState(VK_MENU) < 0)
        mods = mods | Modifiers::Alt;
    return mods;
}

Modifiers modifiersFromKeyboard()
{
    Modifiers mods = Modifiers::None;
    if (GetKeyState(VK_SHIFT) < 0)
        mods = mods | Modifiers::Shift;
    if (GetKeyState(VK_CONTROL) < 0)
        mods = mods | Modifiers::Ctrl;
    if (GetKeyState(VK_MENU) < 0)
        mods = mods | Modifiers::Alt;
    return mods;
}

Key keyOf(WPARAM virtualKey)
{
    switch (virtualKey) {
    case VK_TAB:
        return Key::Tab;
    case VK_SPACE:
        return Key::Space;
    case VK_RETURN:
        return Key::Enter;
    case VK_ESCAPE:
        return Key::Escape;
    default:
        return Key::Other;
    }
}

constexpr WPARAM AnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

HCURSOR makeDragCursor(HINSTANCE instance)
{
    // CreateCursor takes the cursor size the system uses; the picture sits in its top-left
    // corner and the rest stays transparent.
    const Bitmap picture = dragCursorPicture();
    const int width = std::max(GetSystemMetrics(SM_CXCURSOR), picture.width());
    const int height = std::max(GetSystemMetrics(SM_CYCURSOR), picture.height());
    const int rowBytes = (width + 15) / 16 * 2; // monochrome rows are padded to whole words
    // A set bit in the AND plane keeps the screen as it is; where it is clear, the XOR plane
    // paints black (0) or white (1).
    std::vector<BYTE> andPlane(static_cast<std::size_t>(rowBytes) * height, 0xFF);
    std::vector<BYTE> xorPlane(static_cast<std::size_t>(rowBytes) * height, 0x00);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Color c = picture.pixel(x, y);
            if (!isOpaque(c))
                continue;
            const std::size_t byte = static_cast<std::size_t>(y) * rowBytes + x / 8;
            const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
            andPlane[byte] &= static_cast<BYTE>(~bit);
            if (c == colors::White)
                xorPlane[byte] |= bit;
        }
    }
    return CreateCursor(instance, 0, 0, width, height, andPlane.data(), xorPlane.data());
}

// An icon made from the toolkit's picture, for programs that carry no MAINICON resource.
HICON makeIcon(const Bitmap& picture)
{
    if (picture.empty())
        return nullptr;
    BITMAPV5HEADER header {};
    header.bV5Size = sizeof(header);
    header.bV5Width = picture.width();
    header.bV5Height = -picture.height();
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP color = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!color)
        return nullptr;
    std::memcpy(bits, picture.data(), static_cast<std::size_t>(picture.pitchBytes()) * picture.height());

    // The mask matters only where the colour bitmap's alpha is not used; it is kept in step
    // with the alpha all the same.
    const int rowBytes = (picture.width() + 15) / 16 * 2;
    std::vector<BYTE> maskBits(static_cast<std::size_t>(rowBytes) * picture.height(), 0);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (!isOpaque(picture.pixel(x, y)))
                maskBits[static_cast<std::size_t>(y) * rowBytes + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
    }
    HBITMAP mask = CreateBitmap(picture.width(), picture.height(), 1, 1, maskBits.data());

    ICONINFO info {};
    info.fIcon = TRUE;
    info.hbmColor = color;
    info.hbmMask = mask;
    HICON icon = mask ? CreateIconIndirect(&info) : nullptr;
    DeleteObject(color);
    if (mask)
        DeleteObject(mask);
    return icon;
}

}

struct Win32Platform::Messages {
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT handle(Win32Platform&, HWND, UINT message, WPARAM wParam, LPARAM lParam);
    static void mouse(Win32Platform&, HWND, Event::Type, MouseButton, WPARAM wParam, LPARAM lParam);
    static void paint(Win32Platform&, HWND);
};

LRESULT CALLBACK Win32Platform::Messages::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        // The backend rides along with the window itself rather than in a global, so that
        // every message finds it.
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        const auto* params = static_cast<const CreationParams*>(create->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(params->platform));
        if (NativeWindow* native = params->platform->find(params->id))
            native->handle = window;
    }
    auto* platform = reinterpret_cast<Win32Platform*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!platform)
        return DefWindowProcW(window, message, wParam, lParam);
    return handle(*platform, window, message, wParam, lParam);
}

void Win32Platform::Messages::mouse(Win32Platform& platform, HWND window, Event::Type type, MouseButton button,
    WPARAM wParam, LPARAM lParam)
{
    Event event;
    event.type = type;
    event.window = platform.idOf(window);
    // Client coordinates are signed: while the pointer is captured they go negative to the
    // left of and above the window.
    event.pos = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    event.button = button;
    event.modifiers = modifiersFromMouse(wParam);

    if (type == Event::Type::MouseDown && !platform.m_captureWindow) {
        // Holding a button keeps the pointer's messages coming to this window even outside
        // it, which is what dragging past the window's edge needs.
        platform.m_captureWindow = window;
        SetCapture(window);
    }
    platform.queue(event);
    if (type == Event::Type::MouseUp && (wParam & AnyButton) == 0 && platform.m_captureWindow == window) {
        // Cleared first, so that the capture change this causes is known to be our own.
        platform.m_captureWindow = nullptr;
        ReleaseCapture();
    }
}

void Win32Platform::Messages::paint(Win32Platform& platform, HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    const WindowId id = platform.idOf(window);
    NativeWindow* native = platform.find(id);
    const Rect wanted { ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left, ps.rcPaint.bottom - ps.rcPaint.top };
    if (native && !native->lastFrame.empty()) {
        drawFrame(dc, native->lastFrame, wanted.intersected(native->lastFrame.rect()));
    } else {
        // Nothing was presented yet: a plain surface until the toolkit draws, which the
        // Exposed event asks it to do.
        FillRect(dc, &ps.rcPaint, GetSysColorBrush(COLOR_WINDOW));
        if (id != NoWindow) {
            Event event;
            event.type = Event::Type::Exposed;
            event.window = id;
            platform.queue(event);
        }
    }
    EndPaint(window, &ps);
}

LRESULT Win32Platform::Messages::handle(Win32Platform& platform, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        mouse(platform, window, Event::Type::MouseDown, MouseButton::Left, wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        mouse(platform, window, Event::Type::MouseUp, MouseButton::Left, wParam, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        mouse(platform, window, Event::Type::MouseDown, MouseButton::Right, wParam, lParam);
        return 0;
    case WM_RBUTTONUP:
        mouse(platform, window, Event::Type::MouseUp, MouseButton::Right, wParam, lParam);
        return 0;
    case WM_MBUTTONDOWN:
        mouse(platform, window, Event::Type::MouseDown, MouseButton::Middle, wParam, lParam);
        return 0;
    case WM_MBUTTONUP:
        mouse(platform, window, Event::Type::MouseUp, MouseButton::Middle, wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
        mouse(platform, window, Event::Type::MouseMove, MouseButton::Left, wParam, lParam);
        return 0;

    case WM_KEYDOWN: {
        Event event;
        event.type = Event::Type::KeyDown;
        event.window = platform.idOf(window);
        event.key = keyOf(wParam);
        // Bit 30 says the key was already down: this press is the keyboard's repeat.
        event.press = (lParam & (1 << 30)) ? KeyPress::Repeat : KeyPress::First;
        event.modifiers = modifiersFromKeyboard();
        platform.queue(event);
        return 0;
    }

    case WM_CLOSE: {
        // Only a request: the toolkit decides whether and when the window goes, so the
        // default handling, which would destroy it at once, must not run.
        Event event;
        event.type = Event::Type::CloseRequested;
        event.window = platform.idOf(window);
        platform.queue(event);
        return 0;
    }

    case WM_SIZE: {
        // A minimised window keeps the frame it had; restoring it reports its size again.
        if (wParam == SIZE_MINIMIZED)
            return 0;
        Event event;
        event.type = Event::Type::Resized;
        event.window = platform.idOf(window);
        event.size = { LOWORD(lParam), HIWORD(lParam) };
        platform.queue(event);
        return 0;
    }

    case WM_KILLFOCUS: {
        // A window that loses the keyboard gives up the pointer too, so that the window that
        // took over gets the clicks.
        if (platform.m_captureWindow == window) {
            platform.m_captureWindow = nullptr;
            ReleaseCapture();
        }
        Event event;
        event.type = Event::Type::FocusLost;
        event.window = platform.idOf(window);
        platform.queue(event);
        return 0;
    }

    case WM_CAPTURECHANGED: {
        // Our own release has already cleared m_captureWindow. Anything else means the
        // capture was taken away while a button was down, and whatever that press began must
        // end.
        if (platform.m_captureWindow == window && reinterpret_cast<HWND>(lParam) != window) {
            platform.m_captureWindow = nullptr;
            Event event;
            event.type = Event::Type::FocusLost;
            event.window = platform.idOf(window);
            platform.queue(event);
        }
        return 0;
    }

    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(platform.cursorFor(platform.m_cursorShape));
            return TRUE;
        }
        break;

    case WM_ERASEBKGND: {
        // The stored frame covers the whole client area; erasing first would only flicker.
        NativeWindow* native = platform.find(platform.idOf(window));
        if (native && !native->lastFrame.empty())
            return 1;
        break;
    }

    case WM_PAINT:
        paint(platform, window);
        return 0;

    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

Win32Platform::Win32Platform()
{
    m_instance = GetModuleHandleW(nullptr);

    // The program's own icon, in the sizes the window's frame and the task bar ask for. A
    // program built without it still runs; its windows then take the request's picture.
    m_classIcon = static_cast<HICON>(LoadImageW(m_instance, IconResourceName, IMAGE_ICON, GetSystemMetrics(SM_CXICON),
        GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR | LR_SHARED));
    m_classSmallIcon = static_cast<HICON>(LoadImageW(m_instance, IconResourceName, IMAGE_ICON,
        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR | LR_SHARED));

    m_arrowCursor = LoadCursorW(nullptr, IDC_ARROW);
    m_noDropCursor = LoadCursorW(nullptr, IDC_NO);
    m_dragCursor = makeDragCursor(m_instance);

    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof(windowClass);
    // No CS_DBLCLKS: a quick second click is a second press for the toolkit, not a message
    // of its own. No CS_HREDRAW or CS_VREDRAW either: the toolkit redraws after a resize.
    windowClass.style = 0;
    windowClass.lpfnWndProc = &Messages::windowProc;
    windowClass.hInstance = m_instance;
    windowClass.hIcon = m_classIcon;
    windowClass.hIconSm = m_classSmallIcon;
    windowClass.hCursor = m_arrowCursor;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = WindowClassName;
    if (!RegisterClassExW(&windowClass)) {
        const std::string reason = lastErrorText("cannot register the window class");
        if (m_dragCursor)
            DestroyCursor(m_dragCursor);
        throw PlatformError(reason);
    }
}

Win32Platform::~Win32Platform()
{
    for (auto& [id, window] : m_windows) {
        if (window.handle)
            DestroyWindow(window.handle);
        if (window.ownIcon)
            DestroyIcon(window.ownIcon);
    }
    m_windows.clear();
    UnregisterClassW(WindowClassName, m_instance);
    // The arrow, the no-drop sign and the resource icons are shared and belong to Windows;
    // only the drag cursor was made here.
    if (m_dragCursor)
        DestroyCursor(m_dragCursor);
}

WindowId Win32Platform::createWindow(const WindowSpec& request)
{
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND owner = nullptr;
    if (request.role == WindowRole::Main) {
        style = WS_OVERLAPPEDWINDOW;
    } else {
        // A fixed box with a title and a close box only. It belongs to the first main window
        // still open, so it stays above it and leaves the task bar to it.
        style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        exStyle = WS_EX_DLGMODALFRAME;
        for (const auto& [id, other] : m_windows) {
            if (other.role == WindowRole::Main && other.handle) {
                owner = other.handle;
                break;
            }
        }
    }

    // The entry comes first, so that the messages sent while the window is being created
    // already find it.
    const WindowId id = m_nextId++;
    m_windows.emplace(id, NativeWindow { nullptr, request.role, nullptr, {} });
    CreationParams params { this, id };

    // Created at the outer size: the client area is what the frame leaves of it.
    const std::wstring title = toUtf16(request.title);
    HWND window = CreateWindowExW(exStyle, WindowClassName, title.c_str(), style, request.outerOrigin.x,
        request.outerOrigin.y, request.outerSize.width, request.outerSize.height, owner, nullptr, m_instance, &params);
    if (!window) {
        m_windows.erase(id);
        throw PlatformError(lastErrorText(("cannot create the window \"" + request.title + "\"").c_str()));
    }
    NativeWindow& native = m_windows.at(id);
    native.handle = window;

    if (!m_classIcon && request.icon && !request.icon->empty()) {
        native.ownIcon = makeIcon(*request.icon);
        if (native.ownIcon) {
            SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(native.ownIcon));
            SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(native.ownIcon));
        }
    }

    // The main window honours how the program was started (minimised, for instance); a dialog
    // always shows.
    ShowWindow(window, request.role == WindowRole::Main ? SW_SHOWDEFAULT : SW_SHOWNORMAL);
    UpdateWindow(window);
    return id;
}

void Win32Platform::destroyWindow(WindowId id)
{
    auto it = m_windows.find(id);
    if (it == m_windows.end())
        return;
    HWND window = it->second.handle;
    if (m_captureWindow == window)
        m_captureWindow = nullptr;
    if (window)
        DestroyWindow(window);
    if (it->second.ownIcon)
        DestroyIcon(it->second.ownIcon);
    m_windows.erase(it);
    // Whatever the window said while it went concerns nobody any more.
    std::erase_if(m_events, [id](const Event& event) { return event.window == id; });
}

Win32Platform::NativeWindow* Win32Platform::find(WindowId id)
{
    auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : &it->second;
}

WindowId Win32Platform::idOf(HWND__* window) const
{
    for (const auto& [id, native] : m_windows) {
        if (native.handle == window)
            return id;
    }
    return NoWindow;
}

void Win32Platform::queue(Event event)
{
    // Windows that are not ours, or no longer ours, have nothing to tell the toolkit.
    if (event.window == NoWindow)
        return;
    m_events.push_back(event);
}

Size Win32Platform::clientSize(WindowId id)
{
    NativeWindow* native = find(id);
    RECT client {};
    if (!native || !GetClientRect(native->handle, &client))
        return {};
    return { client.right - client.left, client.bottom - client.top };
}

Point Win32Platform::frameOrigin(WindowId id)
{
    NativeWindow* native = find(id);
    RECT outer {};
    if (!native || !GetWindowRect(native->handle, &outer))
        return {};
    return { outer.left, outer.top };
}

FrameExtents Win32Platform::frameExtents(WindowId id)
{
    NativeWindow* native = find(id);
    RECT outer {};
    RECT client {};
    if (!native || !GetWindowRect(native->handle, &outer) || !GetClientRect(native->handle, &client))
        return {};
    POINT topLeft { client.left, client.top };
    POINT bottomRight { client.right, client.bottom };
    ClientToScreen(native->handle, &topLeft);
    ClientToScreen(native->handle, &bottomRight);
    return { topLeft.x - outer.left, topLeft.y - outer.top, outer.right - bottomRight.x, outer.bottom - bottomRight.y };
}

void Win32Platform::present(WindowId id, const Bitmap& frame, const Rect& dirty)
{
    NativeWindow* native = find(id);
    if (!native || frame.empty())
        return;
    const Rect area = dirty.intersected(frame.rect());
    if (native->lastFrame.width() != frame.width() || native->lastFrame.height() != frame.height()) {
        native->lastFrame = frame;
    } else {
        for (int y = area.top; y < area.bottom(); ++y)
            std::copy_n(frame.row(y) + area.left, area.width, native->lastFrame.row(y) + area.left);
    }
    if (area.empty())
        return;
    HDC dc = GetDC(native->handle);
    if (!dc)
        return;
    drawFrame(dc, native->lastFrame, area);
    ReleaseDC(native->handle, dc);
    // The GDI may hold drawing back in a batch; a frame is meant to be seen now.
    GdiFlush();
}

std::optional<Event> Win32Platform::waitEvent(Millis deadline)
{
    for (;;) {
        if (!m_events.empty()) {
            Event event = m_events.front();
            m_events.pop_front();
            return event;
        }

        // Dispatching runs the window procedure, which queues what the toolkit wants to
        // know. One message at a time, so that events come out in the order they happened.
        MSG message;
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Somebody asked the whole program to end, which only happens when Windows is
                // shutting the session down: nothing more will come.
                Event event;
                event.type = Event::Type::WindowSystemGone;
                return event;
            }
            // Translation gives the system menu its Alt shortcuts; Tab and Enter still come
            // as plain key presses, since no dialog manager sits in between.
            TranslateMessage(&message);
            DispatchMessageW(&message);
            continue;
        }

        DWORD timeout = INFINITE;
        if (deadline != NoDeadline) {
            const Millis left = deadline - now();
            if (left <= 0)
                return std::nullopt;
            timeout = static_cast<DWORD>(std::min<Millis>(left, INFINITE - 1));
        }
        // Sleeps until a message arrives or the time is up, so an idle toy uses no processor
        // time. Messages that were already looked at but not removed count too.
        MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

Millis Win32Platform::now()
{
    return static_cast<Millis>(GetTickCount64());
}

Point Win32Platform::pointerScreenPosition()
{
    POINT position {};
    if (!GetCursorPos(&position))
        return {};
    return { position.x, position.y };
}

void Win32Platform::setCursor(CursorShape shape)
{
    m_cursorShape = shape;
    // While a button is held the pointer is captured and Windows asks no window about the
    // cursor, so the shape is set at once as well as on every WM_SETCURSOR.
    SetCursor(cursorFor(shape));
}

HICON__* Win32Platform::cursorFor(CursorShape shape) const
{
    switch (shape) {
    case CursorShape::Drag:
        // Should making our own have failed, the hand still says that something is carried.
        return m_dragCursor ? m_dragCursor : LoadCursorW(nullptr, IDC_HAND);
    case CursorShape::NoDrop:
        return m_noDropCursor;
    case CursorShape::Arrow:
        break;
    }
    return m_arrowCursor;
}

Size Win32Platform::screenSize()
{
    return { GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
}

std::uint64_t Win32Platform::clockSeed()
{
    // Wall time differs between runs started at different moments; the performance counter
    // and the process id differ between runs started within the same clock tick.
    FILETIME wall {};
    GetSystemTimeAsFileTime(&wall);
    LARGE_INTEGER counter {};
    QueryPerformanceCounter(&counter);
    std::uint64_t z = (static_cast<std::uint64_t>(wall.dwHighDateTime) << 32 | wall.dwLowDateTime)
        ^ (static_cast<std::uint64_t>(counter.QuadPart) * 0x9E3779B97F4A7C15ull) ^ (static_cast<std::uint64_t>(GetCurrentProcessId()) << 40);
    // The splitmix64 finaliser spreads the few changing low bits over the whole number.
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

}
