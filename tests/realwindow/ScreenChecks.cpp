#include "ScreenChecks.h"

#include "Art.h"

#include <map>

namespace {

constexpr tk::Color Opaque = 0xFF000000u;

const tk::Bitmap& stored(const std::string& name)
{
    static std::map<std::string, tk::Bitmap> pictures;
    auto it = pictures.find(name);
    if (it == pictures.end())
        it = pictures.emplace(name, art::Picture(name)).first;
    return it->second;
}

// Compares until the first difference when only a match matters.
enum class Count { All, UntilFirst };

int compare(const tk::Bitmap& shot, tk::Point at, const tk::Bitmap& picture, Backdrop backdrop, const tk::Rect& except, Count count)
{
    int differing = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const tk::Point p { at.x + x, at.y + y };
            if (except.contains(p))
                continue;
            const tk::Color own = picture.pixel(x, y);
            if (!tk::isOpaque(own) && backdrop == Backdrop::Anything)
                continue;
            const tk::Color expected = tk::isOpaque(own) ? own | Opaque : tk::colors::White;
            const bool inside = p.x >= 0 && p.y >= 0 && p.x < shot.width() && p.y < shot.height();
            if (!inside || (shot.pixel(p.x, p.y) | Opaque) != expected) {
                ++differing;
                if (count == Count::UntilFirst)
                    return differing;
            }
        }
    }
    return differing;
}

}

std::string FishSighting::pictureName() const
{
    return std::string("imgFish") + (facing == Facing::Left ? "L" : "R") + std::to_string(species);
}

int differingPixels(const tk::Bitmap& shot, tk::Point at, const tk::Bitmap& picture, Backdrop backdrop, const tk::Rect& except)
{
    return compare(shot, at, picture, backdrop, except, Count::All);
}

bool shows(const tk::Bitmap& shot, tk::Point at, std::string_view pictureName, Backdrop backdrop, const tk::Rect& except)
{
    return compare(shot, at, stored(std::string(pictureName)), backdrop, except, Count::UntilFirst) == 0;
}

int differingOutside(const tk::Bitmap& shot, const tk::Bitmap& expected, std::initializer_list<tk::Rect> excluded)
{
    if (shot.width() != expected.width() || shot.height() != expected.height())
        return shot.width() * shot.height();
    int differing = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            bool skipped = false;
            for (const tk::Rect& area : excluded)
                skipped = skipped || area.contains({ x, y });
            if (!skipped && (shot.pixel(x, y) | Opaque) != (expected.pixel(x, y) | Opaque))
                ++differing;
        }
    }
    return differing;
}

bool allWhite(const tk::Bitmap& shot, const tk::Rect& area)
{
    const tk::Rect inside = area.intersected(shot.rect());
    for (int y = inside.top; y < inside.bottom(); ++y) {
        for (int x = inside.left; x < inside.right(); ++x) {
            if ((shot.pixel(x, y) | Opaque) != tk::colors::White)
                return false;
        }
    }
    return true;
}

std::optional<FishSighting> findFish(const tk::Bitmap& shot, int top, std::optional<Facing> facing)
{
    for (int left = 0; left + place::FishSize.width <= shot.width(); ++left) {
        for (Facing f : { Facing::Left, Facing::Right }) {
            if (facing && f != *facing)
                continue;
            for (int species = 1; species <= 5; ++species) {
                FishSighting sighting { { left, top }, species, f };
                if (shows(shot, sighting.at, sighting.pictureName()))
                    return sighting;
            }
        }
    }
    return std::nullopt;
}
