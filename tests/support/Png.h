#pragma once

#include "Bitmap.h"
#include "PngFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

// Compares a frame with the golden PNG of that name in tests/golden. A missing golden fails:
// the frame is written to the build's output folder instead, to be looked at and copied by hand.
::testing::AssertionResult matchesGolden(const tk::Bitmap& frame, const std::string& name);
