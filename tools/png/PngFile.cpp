#include "PngFile.h"

#include <png.h>

#include <filesystem>
#include <stdexcept>

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
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent);
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bitmap.width());
    image.height = static_cast<png_uint_32>(bitmap.height());
    image.format = PNG_FORMAT_BGRA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, bitmap.data(), bitmap.pitchBytes(), nullptr))
        throw std::runtime_error("cannot write " + path + ": " + image.message);
}
