#include "Png.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace {
// Golden frames are screenshots: every pixel opaque.
void writeOpaquePng(const std::string& path, tk::Bitmap frame)
{
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            frame.setPixel(x, y, frame.pixel(x, y) | 0xFF000000u);
    writePng(path, frame);
}
}

::testing::AssertionResult matchesGolden(const tk::Bitmap& frame, const std::string& name)
{
    const std::string golden = std::string(DORGO_GOLDEN_DIR) + "/" + name + ".png";
    const std::string actual = std::string(DORGO_OUTPUT_DIR) + "/" + name + ".png";
    std::optional<tk::Bitmap> expected = readPng(golden);
    if (!expected) {
        writeOpaquePng(actual, frame);
        return ::testing::AssertionFailure() << "no golden frame " << golden << "; this run's frame is in " << actual
                                             << ": look at it, and copy it there if it is right";
    }
    if (expected->width() != frame.width() || expected->height() != frame.height()) {
        writeOpaquePng(actual, frame);
        return ::testing::AssertionFailure() << "frame is " << frame.width() << "x" << frame.height() << ", golden "
                                             << expected->width() << "x" << expected->height() << "; see " << actual;
    }
    int differing = 0;
    tk::Point first { -1, -1 };
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            if ((frame.pixel(x, y) | 0xFF000000u) != expected->pixel(x, y)) {
                if (differing++ == 0)
                    first = { x, y };
            }
        }
    }
    if (differing) {
        writeOpaquePng(actual, frame);
        return ::testing::AssertionFailure() << differing << " pixels differ from " << golden << ", the first at (" << first.x
                                             << ", " << first.y << "); this run's frame is in " << actual;
    }
    return ::testing::AssertionSuccess();
}
