#include "Art.h"

#include <stdexcept>
#include <string>

namespace {
#include "MAINICON.xpm"
#include "imgAngry.xpm"
#include "imgFishL1.xpm"
#include "imgFishL2.xpm"
#include "imgFishL3.xpm"
#include "imgFishL4.xpm"
#include "imgFishL5.xpm"
#include "imgFishR1.xpm"
#include "imgFishR2.xpm"
#include "imgFishR3.xpm"
#include "imgFishR4.xpm"
#include "imgFishR5.xpm"
#include "imgGaoh.xpm"
#include "imgHappy.xpm"
#include "imgKutta.xpm"
#include "imgSleep.xpm"
#include "imgWeep.xpm"

struct Entry {
    std::string_view name;
    const char* const* xpm;
};

constexpr Entry kPictures[] = {
    { "imgSleep", imgSleep_xpm },
    { "imgHappy", imgHappy_xpm },
    { "imgKutta", imgKutta_xpm },
    { "imgAngry", imgAngry_xpm },
    { "imgWeep", imgWeep_xpm },
    { "imgGaoh", imgGaoh_xpm },
    { "imgFishL1", imgFishL1_xpm },
    { "imgFishL2", imgFishL2_xpm },
    { "imgFishL3", imgFishL3_xpm },
    { "imgFishL4", imgFishL4_xpm },
    { "imgFishL5", imgFishL5_xpm },
    { "imgFishR1", imgFishR1_xpm },
    { "imgFishR2", imgFishR2_xpm },
    { "imgFishR3", imgFishR3_xpm },
    { "imgFishR4", imgFishR4_xpm },
    { "imgFishR5", imgFishR5_xpm },
    { "MAINICON", MAINICON_xpm },
};
}

namespace art {

tk::Bitmap Picture(std::string_view name)
{
    for (const Entry& entry : kPictures) {
        if (entry.name == name)
            return tk::Bitmap::fromXpm(entry.xpm);
    }
    throw std::out_of_range("no picture named " + std::string(name));
}

const std::vector<std::string_view>& Names()
{
    static const std::vector<std::string_view> names = [] {
        std::vector<std::string_view> out;
        for (const Entry& entry : kPictures)
            out.push_back(entry.name);
        return out;
    }();
    return names;
}

}
