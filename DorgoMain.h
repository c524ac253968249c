#pragma once

#include "Application.h"
#include "TButton.h"
#include "TForm.h"
#include "TImage.h"
#include "TLabel.h"
#include "TTimer.h"

// The toy's state, one set for the whole run. Nothing is kept between runs.
extern bool FishFacingLeft; // the fish faces left; it swims left while SwimStep is negative
extern int SwimStep; // pixels added to the fish's Left on every swim tick
extern int SwimCount; // swim ticks since the last turn
extern int IdleCount; // ticks of the creature's idle cycle
extern int EatCount; // step of the eating sequence
extern bool Teased; // the fish was held over the creature since the last drop that was not a feeding

// Gives the state its starting values; the program does this before the window exists.
void InitializeState();

// The toy's one window: the Dorgo asleep at the lower right, the fish swimming across the
// middle, a line asking to feed it, the show and end buttons, the stored faces and fish, and
// three one-second timers. Every rule of the toy is one of its handlers.
class TfrmMain : public tk::TForm {
public:
    explicit TfrmMain(tk::Application&);

    tk::TImage* imgDorgo;
    tk::TImage* imgFish;
    tk::TImage* imgHappy;
    tk::TImage* imgSleep;
    tk::TImage* imgWeep;
    tk::TImage* imgAngry;
    tk::TImage* imgGaoh;
    tk::TImage* imgFishL1;
    tk::TImage* imgFishL2;
    tk::TImage* imgFishL3;
    tk::TImage* imgFishL4;
    tk::TTimer* timDorgo;
    tk::TTimer* timFish;
    tk::TImage* imgFishLeft;
    tk::TImage* imgFishRight;
    tk::TImage* imgFishL5;
    tk::TImage* imgFishR1;
    tk::TImage* imgFishR2;
    tk::TImage* imgFishR3;
    tk::TImage* imgFishR4;
    tk::TImage* imgFishR5;
    tk::TBitBtn* btnEnd;
    tk::TTimer* timKutta;
    tk::TButton* btnDisplay;
    tk::TImage* imgKutta;
    tk::TLabel* Label1;

    void FormCreate(tk::TObject* Sender);
    void imgFishMouseDown(tk::TObject* Sender, tk::MouseButton Button, tk::Modifiers Shift, int X, int Y);
    void FormDragOver(tk::TObject* Sender, tk::TObject* Source, int X, int Y, tk::DragState State, bool& Accept);
    void imgDorgoDragOver(tk::TObject* Sender, tk::TObject* Source, int X, int Y, tk::DragState State, bool& Accept);
    void timDorgoTimer(tk::TObject* Sender);
    void timFishTimer(tk::TObject* Sender);
    void btnEndClick(tk::TObject* Sender);
    void timKuttaTimer(tk::TObject* Sender);
    void btnDisplayClick(tk::TObject* Sender);
    void imgFishEndDrag(tk::TObject* Sender, tk::TObject* Target, int X, int Y);

private:
    void ShowFace(const tk::TImage* face);
    void ChangeFish();
    void PlaceFishAtPointer();
};

// The one window of the run, reachable from every handler.
extern TfrmMain* frmMain;
