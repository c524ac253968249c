#pragma once

#include "Bitmap.h"

#include <string_view>
#include <vector>

// The toy's pictures, drawn as XPM text in this folder and compiled into the program.
namespace art {

// The picture stored under a name ("imgSleep", "imgFishL3", "MAINICON", ...). Throws
// std::out_of_range for a name that has no picture.
tk::Bitmap Picture(std::string_view name);

// Every picture's name: the six faces, the ten fish and the icon.
const std::vector<std::string_view>& Names();

}
