#include "Application.h"
#include "Toy.h"

#include <gtest/gtest.h>

struct TitleCase {
    const char* path;
    const char* title;
};

void PrintTo(const TitleCase& c, std::ostream* os)
{
    *os << c.path;
}

class TitleFromProgramFile : public testing::TestWithParam<TitleCase> { };

TEST_P(TitleFromProgramFile, KeepsTheFirstLetterAndLowersTheRest)
{
    EXPECT_EQ(tk::Application::titleFromProgramPath(GetParam().path), GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(Names, TitleFromProgramFile,
    testing::Values(TitleCase { "FISH.EXE", "Fish" }, TitleCase { "sea.fish.exe", "sea" },
        TitleCase { "C:\\GAMES\\DORGO.EXE", "Dorgo" }, TitleCase { "/usr/local/bin/Dorgo", "Dorgo" },
        TitleCase { "./build/dORGO", "dorgo" }, TitleCase { "Émile.exe", "Émile" }, TitleCase { "x", "x" }));

TEST(Title, TheMessageBoxCarriesTheProgramFilesTitle)
{
    Toy toy({ .programPath = "/opt/toys/FISH.EXE" });
    toy.dragAndDrop(Toy::centreOf(toy.form().imgFish), Toy::centreOf(toy.form().btnDisplay));
    auto box = toy.messageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->title, "Fish");
    auto main = toy.platform().window(toy.mainWindow());
    EXPECT_EQ(main->title, "モルタン");
    EXPECT_TRUE(main->hasIcon);
}
