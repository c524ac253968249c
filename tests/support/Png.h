#pragma once

#include "Bitmap.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

// PNG files for golden frames: read one (nothing when the file is missing or unreadable) or
// write one. Pixels are stored opaque, as a screenshot would be.
std::optional<tk::Bitmap> readPng(const std::string& path);
void writePng(const std::string& path, const tk::Bitmap&);

// Compares a frame with the golden PNG of that name in tests/golden. A missing golden fails:
// the frame is written to the build's output folder instead, to be looked at and copied by hand.
::testing::AssertionResult matchesGolden(const tk::Bitmap& frame, const std::string& name);
