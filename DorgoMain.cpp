#include "DorgoMain.h"

#include "Art.h"

#include <string>
#include <string_view>
#include <variant>

using namespace tk;

bool FishFacingLeft;
int SwimStep;
int SwimCount;
int IdleCount;
int EatCount;
bool Teased;

TfrmMain* frmMain = nullptr;

void InitializeState()
{
    FishFacingLeft = true;
    SwimStep = -10;
    SwimCount = 0;
    IdleCount = 0;
    EatCount = 0;
    Teased = false;
}

namespace {

// ---- The window, as data ----

struct WindowDescription {
    std::string_view name;
    Point outerOrigin;
    Size outerSize;
    std::string_view caption;
    tk::Color color;
};

constexpr WindowDescription kWindow { "frmMain", { 185, 94 }, { 575, 405 }, "モルタン", colors::White };

enum class Kind { Picture, Label, Button, BitButton, Timer };
enum class Sizing { Fixed, Auto, AutoStretched };

struct ElementDescription {
    std::string_view name;
    Kind kind;
    Rect bounds;
    bool visible = true;
    std::string_view picture = {}; // the stored picture, by its name in art/
    Sizing sizing = Sizing::Fixed;
    std::string_view text = {}; // label text or button caption
    int tabOrder = 0;
    bool enabled = true; // timers
};

// In creation order: pictures and the label stack in this order, buttons lie above them all.
const ElementDescription kElements[] = {
    { "imgDorgo", Kind::Picture, { 399, 148, 106, 117 } },
    { "imgFish", Kind::Picture, { 328, 216, 32, 32 }, true, "imgFishL4", Sizing::Auto },
    { "imgHappy", Kind::Picture, { 12, 24, 97, 113 }, false, "imgHappy", Sizing::Auto },
    { "imgSleep", Kind::Picture, { 118, 24, 97, 113 }, false, "imgSleep", Sizing::Auto },
    { "imgWeep", Kind::Picture, { 322, 24, 97, 113 }, false, "imgWeep", Sizing::Auto },
    { "imgAngry", Kind::Picture, { 220, 24, 97, 113 }, false, "imgAngry", Sizing::Auto },
    { "imgGaoh", Kind::Picture, { 118, 142, 97, 113 }, false, "imgGaoh", Sizing::AutoStretched },
    { "imgFishL1", Kind::Picture, { 48, 272, 33, 33 }, false, "imgFishL1" },
    { "imgFishL2", Kind::Picture, { 96, 272, 33, 33 }, false, "imgFishL2" },
    { "imgFishL3", Kind::Picture, { 144, 272, 33, 33 }, false, "imgFishL3" },
    { "imgFishL4", Kind::Picture, { 192, 272, 33, 33 }, false, "imgFishL4" },
    { "imgFishLeft", Kind::Picture, { 312, 320, 33, 33 }, false, "imgFishL5" },
    { "imgFishRight", Kind::Picture, { 360, 320, 33, 33 }, false, "imgFishR5" },
    { "imgFishL5", Kind::Picture, { 240, 272, 33, 33 }, false, "imgFishL5" },
    { "imgFishR1", Kind::Picture, { 48, 328, 33, 33 }, false, "imgFishR1" },
    { "imgFishR2", Kind::Picture, { 96, 328, 33, 33 }, false, "imgFishR2" },
    { "imgFishR3", Kind::Picture, { 144, 328, 33, 33 }, false, "imgFishR3" },
    { "imgFishR4", Kind::Picture, { 192, 328, 33, 33 }, false, "imgFishR4" },
    { "imgFishR5", Kind::Picture, { 240, 328, 33, 33 }, false, "imgFishR5" },
    { "imgKutta", Kind::Picture, { 8, 144, 97, 113 }, false, "imgKutta" },
    { "Label1", Kind::Label, { 136, 0, 256, 18 }, true, {}, Sizing::Fixed, "ドルゴに魚を食べさせてください" },
    { "btnEnd", Kind::BitButton, { 400, 312, 105, 33 }, true, {}, Sizing::Fixed, "終了", 0 },
    { "btnDisplay", Kind::Button, { 400, 272, 105, 33 }, true, {}, Sizing::Fixed, "表示", 1 },
    { "timDorgo", Kind::Timer, {}, true, {}, Sizing::Fixed, {}, 0, true },
    { "timFish", Kind::Timer, {}, true, {}, Sizing::Fixed, {}, 0, true },
    { "timKutta", Kind::Timer, {}, true, {}, Sizing::Fixed, {}, 0, false },
};

constexpr Millis kTimerInterval = 1000;

using NotifyHandler = void (TfrmMain::*)(TObject*);
using MouseHandler = void (TfrmMain::*)(TObject*, MouseButton, Modifiers, int, int);
using DragOverHandler = void (TfrmMain::*)(TObject*, TObject*, int, int, DragState, bool&);
using EndDragHandler = void (TfrmMain::*)(TObject*, TObject*, int, int);
using Handler = std::variant<NotifyHandler, MouseHandler, DragOverHandler, EndDragHandler>;

enum class EventName { OnCreate, OnDragOver, OnMouseDown, OnEndDrag, OnClick, OnTimer };

struct EventBinding {
    std::string_view element; // the window's own name for its own events
    EventName event;
    Handler handler;
};

// The buttons take the fish as the surface does: it keeps hanging beside the pointer over them.
const EventBinding kBindings[] = {
    { "frmMain", EventName::OnCreate, &TfrmMain::FormCreate },
    { "frmMain", EventName::OnDragOver, &TfrmMain::FormDragOver },
    { "imgDorgo", EventName::OnDragOver, &TfrmMain::imgDorgoDragOver },
    { "imgFish", EventName::OnMouseDown, &TfrmMain::imgFishMouseDown },
    { "imgFish", EventName::OnEndDrag, &TfrmMain::imgFishEndDrag },
    { "btnEnd", EventName::OnClick, &TfrmMain::btnEndClick },
    { "btnEnd", EventName::OnDragOver, &TfrmMain::FormDragOver },
    { "btnDisplay", EventName::OnClick, &TfrmMain::btnDisplayClick },
    { "btnDisplay", EventName::OnDragOver, &TfrmMain::FormDragOver },
    { "timDorgo", EventName::OnTimer, &TfrmMain::timDorgoTimer },
    { "timFish", EventName::OnTimer, &TfrmMain::timFishTimer },
    { "timKutta", EventName::OnTimer, &TfrmMain::timKuttaTimer },
};

void createElement(TForm& form, const ElementDescription& d)
{
    switch (d.kind) {
    case Kind::Picture: {
        auto* image = form.create<TImage>(std::string(d.name), d.bounds);
        image->SetAutoSize(d.sizing != Sizing::Fixed);
        image->SetStretch(d.sizing == Sizing::AutoStretched);
        if (!d.picture.empty())
            image->SetPicture(art::Picture(d.picture));
        image->SetVisible(d.visible);
        break;
    }
    case Kind::Label: {
        auto* label = form.create<TLabel>(std::string(d.name), d.bounds);
        label->SetCaption(std::string(d.text));
        break;
    }
    case Kind::Button:
    case Kind::BitButton: {
        TButton* button = d.kind == Kind::BitButton ? form.create<TBitBtn>(std::string(d.name), d.bounds)
                                                    : form.create<TButton>(std::string(d.name), d.bounds);
        button->SetCaption(std::string(d.text));
        button->SetTabOrder(d.tabOrder);
        break;
    }
    case Kind::Timer: {
        auto* timer = form.create<TTimer>(std::string(d.name));
        timer->SetInterval(kTimerInterval);
        timer->SetEnabled(d.enabled);
        break;
    }
    }
}

template<class T>
T* element(const TForm& form, std::string_view name)
{
    return &dynamic_cast<T&>(*form.FindComponent(name));
}

void bind(TfrmMain& form, const EventBinding& b)
{
    TObject* target = b.element == form.Name() ? static_cast<TObject*>(&form) : form.FindComponent(b.element);
    auto notify = [&form, h = b.handler](TObject* sender) { (form.*std::get<NotifyHandler>(h))(sender); };
    switch (b.event) {
    case EventName::OnCreate:
        form.OnCreate = notify;
        break;
    case EventName::OnClick:
        dynamic_cast<TButton&>(*target).OnClick = notify;
        break;
    case EventName::OnTimer:
        dynamic_cast<TTimer&>(*target).OnTimer = notify;
        break;
    case EventName::OnDragOver: {
        TDragOverEvent handler = [&form, h = std::get<DragOverHandler>(b.handler)](TObject* s, TObject* src, int x, int y, DragState st, bool& accept) {
            (form.*h)(s, src, x, y, st, accept);
        };
        if (target == &form)
            form.OnDragOver = handler;
        else
            dynamic_cast<TControl&>(*target).OnDragOver = handler;
        break;
    }
    case EventName::OnMouseDown:
        dynamic_cast<TControl&>(*target).OnMouseDown = [&form, h = std::get<MouseHandler>(b.handler)](TObject* s, MouseButton button, Modifiers shift, int x, int y) {
            (form.*h)(s, button, shift, x, y);
        };
        break;
    case EventName::OnEndDrag:
        dynamic_cast<TControl&>(*target).OnEndDrag = [&form, h = std::get<EndDragHandler>(b.handler)](TObject* s, TObject* t, int x, int y) {
            (form.*h)(s, t, x, y);
        };
        break;
    }
}

}

TfrmMain::TfrmMain(Application& application)
    : TForm(application, std::string(kWindow.name))
{
    SetBounds(kWindow.outerOrigin, kWindow.outerSize);
    SetCaption(std::string(kWindow.caption));
    SetColor(kWindow.color);
    for (const ElementDescription& d : kElements)
        createElement(*this, d);

    imgDorgo = element<TImage>(*this, "imgDorgo");
    imgFish = element<TImage>(*this, "imgFish");
    imgHappy = element<TImage>(*this, "imgHappy");
    imgSleep = element<TImage>(*this, "imgSleep");
    imgWeep = element<TImage>(*this, "imgWeep");
    imgAngry = element<TImage>(*this, "imgAngry");
    imgGaoh = element<TImage>(*this, "imgGaoh");
    imgFishL1 = element<TImage>(*this, "imgFishL1");
    imgFishL2 = element<TImage>(*this, "imgFishL2");
    imgFishL3 = element<TImage>(*this, "imgFishL3");
    imgFishL4 = element<TImage>(*this, "imgFishL4");
    timDorgo = element<TTimer>(*this, "timDorgo");
    timFish = element<TTimer>(*this, "timFish");
    imgFishLeft = element<TImage>(*this, "imgFishLeft");
    imgFishRight = element<TImage>(*this, "imgFishRight");
    imgFishL5 = element<TImage>(*this, "imgFishL5");
    imgFishR1 = element<TImage>(*this, "imgFishR1");
    imgFishR2 = element<TImage>(*this, "imgFishR2");
    imgFishR3 = element<TImage>(*this, "imgFishR3");
    imgFishR4 = element<TImage>(*this, "imgFishR4");
    imgFishR5 = element<TImage>(*this, "imgFishR5");
    btnEnd = element<TBitBtn>(*this, "btnEnd");
    timKutta = element<TTimer>(*this, "timKutta");
    btnDisplay = element<TButton>(*this, "btnDisplay");
    imgKutta = element<TImage>(*this, "imgKutta");
    Label1 = element<TLabel>(*this, "Label1");

    SetActiveControl(btnEnd);
    for (const EventBinding& b : kBindings)
        bind(*this, b);
}

// ---- Shared operations ----

void TfrmMain::ShowFace(const TImage* face)
{
    imgDorgo->SetPicture(face->Picture());
}

void TfrmMain::ChangeFish()
{
    int n = application().Random(5) + 1;
    imgFishLeft->SetPicture(dynamic_cast<TImage&>(*FindComponent("imgFishL" + std::to_string(n))).Picture());
    imgFishRight->SetPicture(dynamic_cast<TImage&>(*FindComponent("imgFishR" + std::to_string(n))).Picture());
    imgFish->SetPicture(FishFacingLeft ? imgFishLeft->Picture() : imgFishRight->Picture());
}

void TfrmMain::FormCreate(TObject*)
{
    application().Randomize();
    ShowFace(imgSleep);
    ChangeFish();
    imgFish->SetLeft(240);
    imgFish->SetTop(120);
    imgFish->SetPicture(imgFishLeft->Picture());
    Teased = false;
}

// ---- Timed behaviour ----

void TfrmMain::timDorgoTimer(TObject*)
{
    ++IdleCount;
    if (IdleCount == 10) {
        ShowFace(imgHappy);
    } else if (IdleCount == 11) {
        ShowFace(imgSleep);
        IdleCount = 0;
    }
}

void TfrmMain::timFishTimer(TObject*)
{
    ++SwimCount;
    if (SwimCount > 5) {
        SwimCount = 0;
        FishFacingLeft = !FishFacingLeft;
        SwimStep = -SwimStep;
        ChangeFish();
    }
    imgFish->SetLeft(imgFish->Left() + SwimStep);
}

void TfrmMain::timKuttaTimer(TObject*)
{
    switch (EatCount) {
    case 0:
        ShowFace(imgHappy);
        EatCount = 1;
        break;
    case 1:
        ShowFace(imgKutta);
        EatCount = 2;
        break;
    case 2:
        ShowFace(imgSleep);
        timFish->SetEnabled(true);
        timDorgo->SetEnabled(true);
        imgFish->SetVisible(true);
        imgFish->SetLeft(240);
        imgFish->SetTop(120);
        EatCount = 0;
        timKutta->SetEnabled(false);
        break;
    }
}

// ---- Feeding ----

void TfrmMain::imgFishMouseDown(TObject*, MouseButton, Modifiers, int, int)
{
    imgFish->BeginDrag(DragStart::AfterThreshold);
    timFish->SetEnabled(false);
}

void TfrmMain::PlaceFishAtPointer()
{
    // The window's Left and Top are its outer frame's, so the fish ends up nearer the pointer
    // than its own size by the frame's width and the title bar's height.
    Point pointer = application().CursorPos();
    imgFish->SetLeft(pointer.x - frmMain->Left() - imgFish->Width() - 5);
    imgFish->SetTop(pointer.y - frmMain->Top() - imgFish->Height() - 5);
}

void TfrmMain::FormDragOver(TObject*, TObject* Source, int, int, DragState, bool& Accept)
{
    Accept = true;
    if (dynamic_cast<TImage*>(Source))
        PlaceFishAtPointer();
}

void TfrmMain::imgDorgoDragOver(TObject*, TObject* Source, int, int, DragState, bool& Accept)
{
    Accept = true;
    if (dynamic_cast<TImage*>(Source)) {
        ShowFace(imgGaoh);
        Teased = true;
        PlaceFishAtPointer();
    }
}

void TfrmMain::imgFishEndDrag(TObject*, TObject* Target, int, int)
{
    if (Target && Target->Name() == "imgDorgo") {
        timDorgo->SetEnabled(false);
        timFish->SetEnabled(false);
        timKutta->SetEnabled(true);
        imgFish->SetVisible(false);
        ShowFace(imgHappy);
        ChangeFish();
        return;
    }
    if (dynamic_cast<TButton*>(Target)) {
        application().ShowMessage("ここは駐魚禁止です");
    } else if (Teased) {
        if (application().Random(2) == 0)
            ShowFace(imgAngry);
        else
            ShowFace(imgWeep);
    } else {
        ShowFace(imgHappy);
    }
    timFish->SetEnabled(true);
    timDorgo->SetEnabled(true);
    Teased = false;
}

// ---- The buttons ----

void TfrmMain::btnDisplayClick(TObject*)
{
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* image = dynamic_cast<TImage*>(Components(i));
        if (image && image->Name() != "imgDorgo" && image->Name() != "imgFish")
            image->SetVisible(!image->Visible());
    }
}

void TfrmMain::btnEndClick(TObject*)
{
    Close();
}
