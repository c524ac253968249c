#include "Png.h"

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

std::optional<tk::Bitmap> readPng(const std::string& path)
{
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return std::nullopt;
    image.format = PNG_FORMAT_BGRA;
    tk::Bitmap bitmap(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, const_cast<tk::Color*>(bitmap.data()), bitmap.pitchBytes(), nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return bitmap;
}

void writePng(const std::string& path, const tk::Bitmap& bitmap)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::vector<tk::Color> opaque(bitmap.data(), bitmap.data() + static_cast<std::size_t>(bitmap.width()) * bitmap.height());
    for (tk::Color& c : opaque)
        c |= 0xFF000000u;
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bitmap.width());
    image.height = static_cast<png_uint_32>(bitmap.height());
    image.format = PNG_FORMAT_BGRA;
    png_image_write_to_file(&image, path.c_str(), 0, opaque.data(), bitmap.pitchBytes(), nullptr);
}

::testing::AssertionResult matchesGolden(const tk::Bitmap& frame, const std::string& name)
{
    const std::string golden = std::string(DORGO_GOLDEN_DIR) + "/" + name + ".png";
    const std::string actual = std::string(DORGO_OUTPUT_DIR) + "/" + name + ".png";
    std::optional<tk::Bitmap> expected = readPng(golden);
    if (!expected) {
        writePng(actual, frame);
        return ::testing::AssertionFailure() << "no golden frame " << golden << "; this run's frame is in " << actual
                                             << ": look at it, and copy it there if it is right";
    }
    if (expected->width() != frame.width() || expected->height() != frame.height()) {
        writePng(actual, frame);
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
        writePng(actual, frame);
        return ::testing::AssertionFailure() << differing << " pixels differ from " << golden << ", the first at (" << first.x
                                             << ", " << first.y << "); this run's frame is in " << actual;
    }
    return ::testing::AssertionSuccess();
}
