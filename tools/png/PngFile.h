#pragma once

#include "Bitmap.h"

#include <optional>
#include <string>

// PNG files for the tools and the tests: golden frames, the contact sheet, the desktop icons.

// Reads a PNG; nothing when the file is missing or not a PNG.
std::optional<tk::Bitmap> readPng(const std::string& path);

// Writes the bitmap as a PNG, transparency kept, making the folder if needed. Throws
// std::runtime_error with libpng's reason when it cannot.
void writePng(const std::string& path, const tk::Bitmap&);
