#pragma once

#include "RunningToy.h"
#include "ScreenChecks.h"
#include "VirtualDesktop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// Limits for what the tests wait for on the real screen.
namespace limits {
using namespace std::chrono_literals;
inline constexpr auto Start = std::chrono::milliseconds(15s); // the program's window appearing
inline constexpr auto Seen = std::chrono::milliseconds(1500ms); // something the toy does at once showing on the screen
inline constexpr auto Exit = std::chrono::milliseconds(10s); // the program ending
}

// Where openbox's close box in the window's title bar is on the screen; throws
// std::runtime_error when the window has no frame.
tk::Point closeBoxOf(VirtualDesktop&, VirtualDesktop::WindowId);

// Each test gets a desktop of its own (Xvfb and openbox) with the toy started on it, and a
// folder of its own under the build's output folder for the logs. After a failure the last
// screenshot of the toy's window is left there as last-screenshot.png.
class RealWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The command line the toy runs under, given the test's folder for its logs; none by
    // default.
    virtual std::vector<std::string> wrapper(const std::filesystem::path& /*workDir*/) const { return {}; }

    VirtualDesktop& desktop() { return *m_desktop; }
    RunningToy& toy() { return *m_toy; }

    // Waits for the window and its first frame: the creature asleep and a fish in its lane.
    // Returns the fish, or fails the test (check HasFatalFailure()).
    FishSighting waitForTheFirstFrame();

    // Where the fish hangs while it is held with the pointer at `pointer`: 37 pixels left of and
    // above it, measured from the window's outer frame rather than its client area.
    tk::Point hangingPlaceFor(tk::Point pointer);

    // Presses on the swimming fish and moves the pointer in steps, as a hand does, to
    // `target`, without letting go.
    void pickUpAndCarry(const FishSighting& fish, tk::Point target);

private:
    std::unique_ptr<VirtualDesktop> m_desktop;
    std::unique_ptr<RunningToy> m_toy;
};
