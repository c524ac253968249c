#include "Sandbox.h"
#include "TButton.h"
#include "TImage.h"
#include "TLabel.h"
#include "TMessageForm.h"

#include <gtest/gtest.h>

using namespace tk;

namespace {

// Two overlapping pictures, a hidden one above them, and a button created before them all
// that overlaps them too.
struct Stack {
    TButton* button;
    TImage* lower;
    TImage* upper;
    TImage* hidden;
};

Stack buildStack(TForm& form)
{
    Stack s;
    s.button = form.create<TButton>("btnUnder", Rect { 40, 40, 40, 20 });
    s.lower = form.create<TImage>("imgLower", Rect { 10, 10, 50, 50 });
    s.lower->SetPicture(Bitmap(50, 50, colors::Red));
    s.upper = form.create<TImage>("imgUpper", Rect { 30, 30, 50, 50 });
    s.upper->SetPicture(Bitmap(50, 50, colors::Blue));
    s.hidden = form.create<TImage>("imgHidden", Rect { 0, 0, 100, 100 });
    s.hidden->SetPicture(Bitmap(100, 100, colors::Green));
    s.hidden->SetVisible(false);
    return s;
}

}

TEST(Stacking, ButtonsLieAboveLaterPicturesAndHiddenOnesAreNeitherDrawnNorHit)
{
    Stack s;
    Sandbox box([&](Application&, TForm& form) { s = buildStack(form); });
    TForm& form = box.form();

    struct Case {
        Point at;
        TControl* expected;
    };
    for (Case c : { Case { { 15, 15 }, s.lower }, Case { { 35, 35 }, s.upper }, Case { { 45, 45 }, s.button },
             Case { { 75, 75 }, s.upper }, Case { { 200, 150 }, nullptr } }) {
        HitTestResult hit = form.hitTest(c.at);
        EXPECT_EQ(hit.control, c.expected) << c.at.x << "," << c.at.y;
        EXPECT_EQ(hit.where, c.expected ? HitTestResult::Where::Control : HitTestResult::Where::Surface);
    }

    Bitmap frame = box.platform().screenshot(box.platform().windows().front().id);
    EXPECT_EQ(frame.pixel(15, 15), colors::Red);
    EXPECT_EQ(frame.pixel(35, 35), colors::Blue);
    EXPECT_EQ(frame.pixel(60, 50), colors::Silver); // the button's face, above both pictures
    EXPECT_EQ(frame.pixel(5, 5), colors::White); // the hidden picture draws nothing
    EXPECT_EQ(frame.pixel(200, 150), colors::White);
}

TEST(Stacking, TheFrameCountsAsSurfaceAndBeyondItIsOutside)
{
    Sandbox box([](Application&, TForm&) { });
    FrameExtents frame = box.platform().windows().front().frame;
    ASSERT_GT(frame.top, 0);
    EXPECT_EQ(box.form().hitTest({ 5, -frame.top }).where, HitTestResult::Where::Surface);
    EXPECT_EQ(box.form().hitTest({ 5, -frame.top - 1 }).where, HitTestResult::Where::Outside);
    EXPECT_EQ(box.form().hitTest({ box.form().ClientWidth() + frame.right, 5 }).where, HitTestResult::Where::Outside);
}

TEST(Components, AreFoundByNameIgnoringCaseAndWalkedInCreationOrder)
{
    Stack s;
    Sandbox box([&](Application&, TForm& form) { s = buildStack(form); });
    TForm& form = box.form();
    EXPECT_EQ(form.FindComponent("IMGUPPER"), s.upper);
    EXPECT_EQ(form.FindComponent("imgupper"), s.upper);
    EXPECT_EQ(form.FindComponent("imgUppe"), nullptr);
    EXPECT_EQ(form.FindComponent(""), nullptr);
    ASSERT_EQ(form.ComponentCount(), 4);
    EXPECT_EQ(form.Components(0), s.button);
    EXPECT_EQ(form.Components(3), s.hidden);
}

TEST(Pictures, PuttingAPictureIntoASlotCopiesIt)
{
    TImage* source = nullptr;
    TImage* copy = nullptr;
    Sandbox box([&](Application&, TForm& form) {
        source = form.create<TImage>("imgSource", Rect { 0, 0, 10, 10 });
        copy = form.create<TImage>("imgCopy", Rect { 20, 0, 10, 10 });
        source->SetPicture(Bitmap(10, 10, colors::Red));
        copy->SetPicture(source->Picture());
        source->SetPicture(Bitmap(10, 10, colors::Blue));
    });
    EXPECT_EQ(copy->Picture(), Bitmap(10, 10, colors::Red));
    EXPECT_EQ(box.platform().screenshot(box.platform().windows().front().id).pixel(25, 5), colors::Red);
    EXPECT_EQ(box.platform().screenshot(box.platform().windows().front().id).pixel(5, 5), colors::Blue);
}

TEST(Pictures, AnAutoSizedSlotTakesThePicturesSize)
{
    TImage* image = nullptr;
    Sandbox box([&](Application&, TForm& form) {
        image = form.create<TImage>("imgAuto", Rect { 5, 6, 33, 33 });
        image->SetAutoSize(true);
        image->SetPicture(Bitmap(32, 20, colors::Red));
    });
    EXPECT_EQ(image->BoundsRect(), (Rect { 5, 6, 32, 20 }));
}

class Focus : public testing::Test {
protected:
    void SetUp() override
    {
        box = std::make_unique<Sandbox>([this](Application&, TForm& form) {
            second = form.create<TButton>("btnSecond", Rect { 10, 60, 80, 25 });
            second->SetTabOrder(1);
            first = form.create<TBitBtn>("btnFirst", Rect { 10, 20, 80, 25 });
            first->SetTabOrder(0);
            first->OnClick = [this](TObject*) { clicks.push_back("first"); };
            second->OnClick = [this](TObject*) { clicks.push_back("second"); };
            form.SetActiveControl(first);
        });
    }
    std::unique_ptr<Sandbox> box;
    TButton* first = nullptr;
    TButton* second = nullptr;
    std::vector<std::string> clicks;
};

TEST_F(Focus, TabAndShiftTabMoveBetweenTheButtonsInTabOrder)
{
    EXPECT_EQ(box->form().ActiveControl(), first);
    box->platform().key(Key::Tab, Modifiers::None);
    EXPECT_EQ(box->form().ActiveControl(), second);
    box->platform().key(Key::Tab, Modifiers::None);
    EXPECT_EQ(box->form().ActiveControl(), first);
    box->platform().key(Key::Tab, Modifiers::Shift);
    EXPECT_EQ(box->form().ActiveControl(), second);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(Focus, SpaceAndEnterPressTheFocusedButtonAndOtherKeysDoNothing)
{
    box->platform().key(Key::Space, Modifiers::None);
    box->platform().key(Key::Tab, Modifiers::None);
    box->platform().key(Key::Enter, Modifiers::None);
    box->platform().key(Key::Other, Modifiers::None);
    box->platform().key(Key::Escape, Modifiers::None);
    EXPECT_EQ(clicks, (std::vector<std::string> { "first", "second" }));
}

TEST_F(Focus, TheFocusedButtonShowsAFocusMarkAndAClickMovesTheFocus)
{
    auto markAt = [&](TButton* b) { return box->platform().screenshot(box->platform().windows().front().id).pixel(b->Left() + 4, b->Top() + 4); };
    EXPECT_EQ(markAt(first), colors::Black);
    EXPECT_EQ(markAt(second), colors::Silver);
    box->click({ 50, 72 });
    EXPECT_EQ(clicks, (std::vector<std::string> { "second" }));
    EXPECT_EQ(box->form().ActiveControl(), second);
    EXPECT_EQ(markAt(first), colors::Silver);
    EXPECT_EQ(markAt(second), colors::Black);
}

TEST_F(Focus, APressThatLeavesTheButtonBeforeTheReleaseIsNoClick)
{
    box->moveTo({ 50, 32 });
    box->platform().press(MouseButton::Left);
    box->moveTo({ 150, 32 });
    box->platform().release(MouseButton::Left);
    box->moveTo({ 50, 32 });
    box->platform().press(MouseButton::Right);
    box->platform().release(MouseButton::Right);
    EXPECT_TRUE(clicks.empty());
}

TEST(Errors, AnErrorEscapingAHandlerIsShownAndTheLoopGoesOn)
{
    int clicks = 0;
    Sandbox box([&](Application&, TForm& form) {
        auto* b = form.create<TButton>("btnFail", Rect { 10, 10, 80, 25 });
        b->OnClick = [&](TObject*) {
            ++clicks;
            throw std::runtime_error("the fish slipped");
        };
    });
    box.click({ 20, 20 });
    auto* message = dynamic_cast<TMessageForm*>(box.app().modalForm());
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->label()->Caption(), "the fish slipped");
    EXPECT_EQ(box.platform().windows().size(), 2u);
    box.platform().key(Key::Enter, Modifiers::None);
    EXPECT_EQ(box.app().modalForm(), nullptr);
    EXPECT_EQ(box.platform().windows().size(), 1u);
    box.click({ 20, 20 });
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(box.ended());
}

TEST(Window, ClosingTheMainFormEndsTheLoopAndLosingTheDisplayEndsItToo)
{
    Sandbox closed([](Application&, TForm&) { });
    closed.platform().requestClose(closed.platform().windows().front().id);
    EXPECT_TRUE(closed.ended());

    Sandbox gone([](Application&, TForm&) { });
    gone.platform().loseDisplay();
    EXPECT_TRUE(gone.ended());
}

TEST(Window, ResizingMovesNothingAndTheLargerSurfaceIsWhite)
{
    TImage* image = nullptr;
    Sandbox box([&](Application&, TForm& form) {
        image = form.create<TImage>("imgRed", Rect { 10, 10, 20, 20 });
        image->SetPicture(Bitmap(20, 20, colors::Red));
    });
    WindowId id = box.platform().windows().front().id;
    box.platform().resizeWindow(id, { 640, 480 });
    Bitmap frame = box.platform().screenshot(box.platform().windows().front().id);
    ASSERT_EQ(frame.width(), 640);
    EXPECT_EQ(frame.pixel(15, 15), colors::Red);
    EXPECT_EQ(frame.pixel(639, 479), colors::White);
    EXPECT_EQ(image->BoundsRect(), (Rect { 10, 10, 20, 20 }));
}
