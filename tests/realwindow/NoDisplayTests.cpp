#include "ChildProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

// Xlib's macros would clash with the names above, so its header comes last.
#include <X11/Xlib.h>

namespace {

using namespace std::chrono_literals;

struct MissingDisplay {
    const char* name;
    std::optional<std::string> display; // DISPLAY's value; none: not set at all
};

// A display number no test server takes: Xvfb -displayfd picks the lowest free ones.
constexpr const char* DeadDisplay = ":199";

const MissingDisplay MissingDisplays[] = {
    { "DisplayNotSet", std::nullopt },
    { "DisplayOfAServerThatIsNotRunning", DeadDisplay },
};

void PrintTo(const MissingDisplay& m, std::ostream* os)
{
    *os << m.name;
}

class NoDisplayTest : public ::testing::TestWithParam<MissingDisplay> { };

std::string contentsOf(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool hasLineStartingWith(const std::string& text, std::string_view start)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(start))
            return true;
    }
    return false;
}

}

TEST_P(NoDisplayTest, TheProgramSaysItCannotOpenAWindowAndEndsWithExitCodeOne)
{
    if (const std::optional<std::string>& display = GetParam().display) {
        Display* answering = XOpenDisplay(display->c_str());
        if (answering)
            XCloseDisplay(answering);
        ASSERT_EQ(answering, nullptr) << "an X server answers on " << *display << ", which this test needs dead";
    }

    const std::filesystem::path folder = std::filesystem::path(DORGO_REALWINDOW_OUTPUT_DIR) / (std::string("NoDisplay.") + GetParam().name);
    std::filesystem::create_directories(folder);
    const std::filesystem::path errors = folder / "dorgo.stderr";
    ChildProcess program({
        .argv = { DORGO_PROGRAM },
        .environment = { { "DISPLAY", GetParam().display }, { "WAYLAND_DISPLAY", std::nullopt }, { "SDL_VIDEODRIVER", std::nullopt } },
        .log = folder / "dorgo.log",
        .errorLog = errors,
    });
    const std::optional<int> code = program.waitForExit(10s);
    ASSERT_TRUE(code) << "the program still runs with no display";
    EXPECT_EQ(*code, 1);
    const std::string said = contentsOf(errors);
    EXPECT_TRUE(hasLineStartingWith(said, "cannot open a window: ")) << "standard error said:\n" << said;
}

INSTANTIATE_TEST_SUITE_P(NoDisplay, NoDisplayTest, ::testing::ValuesIn(MissingDisplays),
    [](const ::testing::TestParamInfo<MissingDisplay>& info) { return std::string(info.param.name); });
