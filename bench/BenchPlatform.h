#pragma once

#include "Bitmap.h"
#include "Platform.h"

#include <chrono>
#include <cstring>

// A window system reduced to what a measurement needs, on the measuring thread: windows are
// memory surfaces that present copies into, as a window surface would take them; the pointer
// is wherever the benchmark puts it; nothing ever waits.
class BenchPlatform final : public tk::Platform {
public:
    static constexpr tk::FrameExtents Frame { 1, 20, 1, 5 };

    tk::WindowId createWindow(const tk::WindowSpec& request) override
    {
        m_origin = request.outerOrigin;
        m_client = { request.outerSize.width - Frame.left - Frame.right, request.outerSize.height - Frame.top - Frame.bottom };
        m_surface = tk::Bitmap(m_client.width, m_client.height);
        return 1;
    }
    void destroyWindow(tk::WindowId) override { }
    tk::Size clientSize(tk::WindowId) override { return m_client; }
    tk::Point frameOrigin(tk::WindowId) override { return m_origin; }
    tk::FrameExtents frameExtents(tk::WindowId) override { return Frame; }
    void present(tk::WindowId, const tk::Bitmap& frame, const tk::Rect& dirty) override
    {
        tk::Rect area = dirty.intersected(m_surface.rect());
        for (int y = area.top; y < area.bottom(); ++y)
            std::memcpy(m_surface.row(y) + area.left, frame.row(y) + area.left, static_cast<std::size_t>(area.width) * sizeof(tk::Color));
        ++presents;
    }
    std::optional<tk::Event> waitEvent(tk::Millis) override { return std::nullopt; }
    tk::Millis now() override { return 0; }
    tk::Point pointerScreenPosition() override { return pointer; }
    void setCursor(tk::CursorShape) override { }
    tk::Size screenSize() override { return { 1280, 1024 }; }
    std::uint64_t clockSeed() override { return 1; }

    tk::Point clientToScreen(tk::Point p) const { return { m_origin.x + Frame.left + p.x, m_origin.y + Frame.top + p.y }; }

    tk::Point pointer;
    long presents = 0;

private:
    tk::Point m_origin;
    tk::Size m_client;
    tk::Bitmap m_surface;
};
