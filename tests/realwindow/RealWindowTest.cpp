#include "RealWindowTest.h"

#include "Png.h"
#include "Poll.h"

#include <algorithm>
#include <iostream>
#include <stdexcept>

namespace {

std::filesystem::path folderForThisTest()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(name.begin(), name.end(), '/', '-');
    const std::filesystem::path folder = std::filesystem::path(DORGO_REALWINDOW_OUTPUT_DIR) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

}

void RealWindowTest::SetUp()
{
    m_desktop = std::make_unique<VirtualDesktop>(folderForThisTest());
    m_toy = std::make_unique<RunningToy>(*m_desktop, DORGO_PROGRAM, wrapper(m_desktop->workDir()));
}

void RealWindowTest::TearDown()
{
    if (HasFailure() && m_desktop) {
        std::cerr << "logs of the failed test: " << m_desktop->workDir().string() << "\n";
        if (m_toy && !m_toy->errorOutput().empty())
            std::cerr << "the program's standard error:\n" << m_toy->errorOutput();
        if (m_toy && !m_toy->lastScreenshot().empty()) {
            const std::filesystem::path shot = m_desktop->workDir() / "last-screenshot.png";
            writePng(shot.string(), m_toy->lastScreenshot());
            std::cerr << "the last screenshot of the toy's window: " << shot.string() << "\n";
        }
    }
    m_toy.reset();
    m_desktop.reset();
}

FishSighting RealWindowTest::waitForTheFirstFrame()
{
    const bool appeared = toy().waitForMainWindow(limits::Start);
    EXPECT_TRUE(appeared) << "no window titled モルタン within " << limits::Start.count() << " ms, "
                          << toy().describeDesktop();
    if (!appeared)
        return {};
    std::optional<FishSighting> fish;
    const bool drawn = eventually(limits::Start, [&] {
        const tk::Bitmap shot = toy().screenshot();
        fish = findFish(shot, place::FishStart.y);
        return shows(shot, { place::CreatureSlot.left, place::CreatureSlot.top }, "imgSleep") && fish;
    });
    EXPECT_TRUE(drawn) << "the window never showed the creature asleep with a fish in its lane";
    return fish.value_or(FishSighting {});
}

tk::Point RealWindowTest::hangingPlaceFor(tk::Point pointer)
{
    const std::optional<tk::FrameExtents> frame = desktop().frameExtents(toy().mainWindow());
    const tk::FrameExtents e = frame.value_or(tk::FrameExtents {});
    return { pointer.x + e.left - 37, pointer.y + e.top - 37 };
}

tk::Point closeBoxOf(VirtualDesktop& desktop, VirtualDesktop::WindowId window)
{
    // Openbox's stock title bar (buttons N L I M C) ends with the close box: a square in the
    // middle of the title bar's height, as far in from the right border as the title bar is
    // half high.
    const std::optional<tk::Rect> frame = desktop.frameRect(window);
    const std::optional<tk::FrameExtents> e = desktop.frameExtents(window);
    if (!frame || !e)
        throw std::runtime_error("the window has no frame");
    return { frame->right() - e->right - e->top / 2, frame->top + e->top / 2 };
}

void RealWindowTest::pickUpAndCarry(const FishSighting& fish, tk::Point target)
{
    // The fish swims on until it is pressed, so the press goes where the fish still is after
    // two more swim steps ahead, or one back if it turns meanwhile.
    const int ahead = fish.facing == Facing::Left ? 11 : 20;
    const tk::Point from { fish.at.x + ahead, fish.at.y + place::FishSize.height / 2 };
    toy().moveTo(from);
    toy().press();
    // A hand's drag: a few small moves past the drag threshold, then across in steps.
    constexpr int Steps = 8;
    for (int i = 1; i <= 3; ++i)
        toy().moveTo({ from.x + 3 * i, from.y + 3 * i });
    const tk::Point start { from.x + 9, from.y + 9 };
    for (int i = 1; i <= Steps; ++i)
        toy().moveTo({ start.x + (target.x - start.x) * i / Steps, start.y + (target.y - start.y) * i / Steps });
}
