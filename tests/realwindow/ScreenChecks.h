#pragma once

#include "Bitmap.h"
#include "Geometry.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

// What the toy's window looks like and where things are in it, for comparing screenshots of
// its client area with what a person expects to see there.

namespace place {
inline constexpr tk::Size ClientArea { 573, 380 }; // under openbox's frame
inline constexpr tk::Point FishStart { 240, 120 };
inline constexpr tk::Size FishSize { 32, 32 };
inline constexpr tk::Rect FishLane { 0, 120, 573, 32 }; // the rows the swimming fish takes
inline constexpr tk::Rect CreatureSlot { 399, 148, 106, 117 };
inline constexpr tk::Point CreatureCentre { 452, 206 };
inline constexpr tk::Rect ShowButton { 400, 272, 105, 33 };
inline constexpr tk::Rect EndButton { 400, 312, 105, 33 };
inline constexpr tk::Point ShowButtonCentre { 452, 288 };
inline constexpr tk::Point EndButtonCentre { 452, 328 };
}

// What lies behind a picture's transparent pixels: the window's white, or whatever is there.
enum class Backdrop { White, Anything };
enum class Facing { Left, Right };

// How many pixels of the picture's rectangle at `at` differ from the stored picture, leaving
// out those inside `except`.
int differingPixels(const tk::Bitmap& shot, tk::Point at, const tk::Bitmap& picture, Backdrop, const tk::Rect& except = {});
bool shows(const tk::Bitmap& shot, tk::Point at, std::string_view pictureName, Backdrop = Backdrop::White, const tk::Rect& except = {});

// How many pixels differ between two frames of the same size, outside the given areas.
int differingOutside(const tk::Bitmap& shot, const tk::Bitmap& expected, std::initializer_list<tk::Rect> excluded = {});

bool allWhite(const tk::Bitmap& shot, const tk::Rect& area);

// A fish found in a screenshot: where its 32 x 32 tile is and which stored picture it shows.
struct FishSighting {
    tk::Point at;
    int species = 0; // 1 to 5
    Facing facing = Facing::Left;
    std::string pictureName() const;
};

// The fish whose tile, white background included, lies in the row starting at `top`; only
// fish facing that way when a facing is given.
std::optional<FishSighting> findFish(const tk::Bitmap& shot, int top, std::optional<Facing> = std::nullopt);
