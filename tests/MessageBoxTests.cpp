#include "Sandbox.h"
#include "TButton.h"
#include "TLabel.h"
#include "TMessageForm.h"
#include "TTimer.h"

#include <gtest/gtest.h>

using namespace tk;

namespace {

// A form whose button opens a message box, with a timer counting its ticks.
class MessageRig {
public:
    MessageRig()
        : box([this](Application& app, TForm& form) {
            button = form.create<TButton>("btnAsk", Rect { 10, 10, 80, 25 });
            button->OnClick = [this, &app](TObject*) {
                ++opened;
                app.ShowMessage("ここは駐魚禁止です");
                ++returned;
            };
            auto* timer = form.create<TTimer>("timCount");
            timer->OnTimer = [this](TObject*) { ++ticks; };
        })
    {
        box.click({ 20, 20 });
    }
    std::optional<HeadlessPlatform::WindowState> messageWindow()
    {
        auto windows = box.platform().windows();
        if (windows.size() < 2)
            return std::nullopt;
        return windows.back();
    }

    // Declared before the sandbox: its setup and handlers use them.
    TButton* button = nullptr;
    int opened = 0;
    int returned = 0;
    int ticks = 0;
    Sandbox box;
};

}

TEST(MessageBox, IsAWindowOfItsOwnCentredOnTheScreenAndTitledWithTheApplicationsTitle)
{
    MessageRig rig;
    auto w = rig.messageWindow();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->title, "Sandbox");
    EXPECT_EQ(w->role, WindowRole::Dialog);
    Size outer { w->clientSize.width + w->frame.left + w->frame.right, w->clientSize.height + w->frame.top + w->frame.bottom };
    Size screen = rig.box.platform().screenSize();
    EXPECT_NEAR(w->frameOrigin.x + outer.width / 2, screen.width / 2, 2);
    EXPECT_NEAR(w->frameOrigin.y + outer.height / 2, screen.height / 2, 2);
    auto* form = dynamic_cast<TMessageForm*>(rig.box.app().modalForm());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->okButton()->Caption(), "OK");
    EXPECT_EQ(form->label()->Caption(), "ここは駐魚禁止です");
    // The text is drawn: the label's area holds dark pixels on the box's face.
    int dark = 0;
    Rect text = form->label()->BoundsRect();
    Bitmap shown = rig.box.platform().screenshot(w->id);
    for (int y = text.top; y < text.bottom(); ++y)
        for (int x = text.left; x < text.right(); ++x)
            dark += shown.pixel(x, y) == colors::Black;
    EXPECT_GT(dark, 100);
}

TEST(MessageBox, TimersKeepTickingWhileItIsOpenAndTheHandlerWaitsForIt)
{
    MessageRig rig;
    rig.box.platform().advance(3000);
    EXPECT_EQ(rig.ticks, 3);
    EXPECT_EQ(rig.opened, 1);
    EXPECT_EQ(rig.returned, 0);
    rig.box.platform().key(Key::Enter, Modifiers::None);
    EXPECT_EQ(rig.returned, 1);
}

TEST(MessageBox, PointerAndKeysReachOnlyTheBox)
{
    MessageRig rig;
    // The box is in the middle of the screen, away from the main window's button.
    rig.box.click({ 20, 20 });
    rig.box.platform().key(Key::Tab, Modifiers::None);
    EXPECT_EQ(rig.opened, 1);
    EXPECT_EQ(rig.returned, 0);
    rig.box.platform().requestClose(rig.box.platform().windows().front().id);
    EXPECT_FALSE(rig.box.ended());
    EXPECT_TRUE(rig.messageWindow());
}

struct Dismissal {
    const char* name;
    std::function<void(MessageRig&)> act;
};

void PrintTo(const Dismissal& d, std::ostream* os)
{
    *os << d.name;
}

class MessageBoxDismissal : public testing::TestWithParam<Dismissal> { };

TEST_P(MessageBoxDismissal, ClosesTheBoxAndReturnsToTheHandler)
{
    MessageRig rig;
    ASSERT_TRUE(rig.messageWindow());
    GetParam().act(rig);
    EXPECT_FALSE(rig.messageWindow());
    EXPECT_EQ(rig.returned, 1);
    EXPECT_FALSE(rig.box.ended());
}

INSTANTIATE_TEST_SUITE_P(Ways, MessageBoxDismissal,
    testing::Values(Dismissal { "Enter", [](MessageRig& r) { r.box.platform().key(Key::Enter, Modifiers::None); } },
        Dismissal { "Space", [](MessageRig& r) { r.box.platform().key(Key::Space, Modifiers::None); } },
        Dismissal { "Escape", [](MessageRig& r) { r.box.platform().key(Key::Escape, Modifiers::None); } },
        Dismissal { "CloseBox", [](MessageRig& r) { r.box.platform().requestClose(r.messageWindow()->id); } },
        Dismissal { "ClickOnOK",
            [](MessageRig& r) {
                auto w = *r.messageWindow();
                auto* form = dynamic_cast<TMessageForm*>(r.box.app().modalForm());
                Point ok { w.clientOrigin().x + form->okButton()->Left() + 10, w.clientOrigin().y + form->okButton()->Top() + 10 };
                r.box.platform().moveTo(ok);
                r.box.platform().press(MouseButton::Left);
                r.box.platform().release(MouseButton::Left);
            } }),
    [](const testing::TestParamInfo<Dismissal>& info) { return std::string(info.param.name); });
