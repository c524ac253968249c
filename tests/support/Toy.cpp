#include "Toy.h"

#include "Art.h"
#include "Dorgo.h"

#include <map>
#include <stdexcept>

namespace {
// The stored pictures, read once: comparing against them is what most checks do.
const tk::Bitmap& picture(const std::string& name)
{
    static std::map<std::string, tk::Bitmap> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.emplace(name, art::Picture(name)).first;
    return it->second;
}

tk::HeadlessPlatform::Options withSeed(Toy::Options options)
{
    options.platform.seed = options.seed;
    return options.platform;
}
}

Toy::Toy()
    : Toy(Options {})
{
}

Toy::Toy(Options options)
    : m_session([path = options.programPath](tk::Platform& p) { return RunDorgo(p, path); }, withSeed(options))
{
    auto windows = platform().windows();
    if (windows.empty())
        throw std::runtime_error("the toy opened no window: " + m_session.failure());
    m_mainWindow = windows.front().id;
}

Toy::~Toy()
{
    if (auto box = messageBox(); box && !m_session.ended())
        platform().requestClose(box->id);
    if (!m_session.ended())
        platform().requestClose(m_mainWindow);
}

TfrmMain& Toy::form() const
{
    if (!frmMain)
        throw std::runtime_error("the toy is not running");
    return *frmMain;
}

tk::Point Toy::screenOf(tk::Point client) const
{
    auto w = m_session.platform().window(m_mainWindow);
    if (!w)
        throw std::runtime_error("the main window is gone");
    return { w->clientOrigin().x + client.x, w->clientOrigin().y + client.y };
}

tk::Point Toy::centreOf(const tk::TControl* control)
{
    return { control->Left() + control->Width() / 2, control->Top() + control->Height() / 2 };
}

void Toy::moveTo(tk::Point client)
{
    platform().moveTo(screenOf(client));
}

void Toy::click(tk::Point client)
{
    moveTo(client);
    press();
    release();
}

void Toy::glideTo(tk::Point client, int steps)
{
    tk::Point start = platform().pointer();
    tk::Point end = screenOf(client);
    for (int i = 1; i <= steps; ++i)
        platform().moveTo({ start.x + (end.x - start.x) * i / steps, start.y + (end.y - start.y) * i / steps });
}

void Toy::dragAndDrop(tk::Point from, tk::Point to)
{
    moveTo(from);
    press();
    glideTo(to);
    release();
}

tk::Bitmap Toy::frame() const
{
    return m_session.platform().screenshot(m_mainWindow);
}

std::optional<tk::HeadlessPlatform::WindowState> Toy::messageBox() const
{
    for (const auto& w : m_session.platform().windows()) {
        if (w.id != m_mainWindow)
            return w;
    }
    return std::nullopt;
}

std::string Toy::face() const
{
    const tk::Bitmap& shown = form().imgDorgo->Picture();
    for (const char* name : { "imgSleep", "imgHappy", "imgKutta", "imgAngry", "imgWeep", "imgGaoh" }) {
        if (shown == picture(name))
            return name;
    }
    return "";
}

int Toy::fishSpecies() const
{
    const tk::Bitmap& shown = form().imgFish->Picture();
    for (int n = 1; n <= 5; ++n) {
        if (shown == picture("imgFishL" + std::to_string(n)) || shown == picture("imgFishR" + std::to_string(n)))
            return n;
    }
    return 0;
}

bool Toy::fishFacesLeft() const
{
    int n = fishSpecies();
    return n != 0 && form().imgFish->Picture() == picture("imgFishL" + std::to_string(n));
}
