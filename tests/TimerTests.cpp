#include "Sandbox.h"
#include "TButton.h"
#include "TTimer.h"

#include <gtest/gtest.h>

using namespace tk;

namespace {

// A timer that writes down the virtual time of each of its ticks, and two buttons that
// enable and disable it.
class TimerRig {
public:
    TimerRig()
        : box([this](Application& app, TForm& form) {
            timer = form.create<TTimer>("timTest");
            timer->SetInterval(1000);
            timer->OnTimer = [this, &app](TObject*) { ticks.push_back(app.now()); };
            form.create<TButton>("btnOn", Rect { 10, 10, 60, 25 })->OnClick = [this](TObject*) { timer->SetEnabled(true); };
            form.create<TButton>("btnOff", Rect { 10, 50, 60, 25 })->OnClick = [this](TObject*) { timer->SetEnabled(false); };
        })
    {
    }
    void at(Millis when)
    {
        box.platform().advance(when - box.platform().clock());
    }
    // Declared before the sandbox: its setup fills them in.
    TTimer* timer = nullptr;
    std::vector<Millis> ticks;
    Sandbox box;
};

void setEnabled(TimerRig& rig, bool enabled)
{
    rig.box.click(enabled ? Point { 20, 20 } : Point { 20, 60 });
}

}

TEST(Timer, TicksOncePerIntervalWhileEnabled)
{
    TimerRig rig;
    rig.at(3500);
    EXPECT_EQ(rig.ticks, (std::vector<Millis> { 1000, 2000, 3000 }));
}

TEST(Timer, EnablingARunningTimerDoesNotRestartItsInterval)
{
    TimerRig rig;
    rig.at(600);
    setEnabled(rig, true);
    rig.at(1500);
    EXPECT_EQ(rig.ticks, (std::vector<Millis> { 1000 }));
}

TEST(Timer, DisablingStopsTicksAtOnceAndEnablingStartsAFreshInterval)
{
    TimerRig rig;
    rig.at(1500);
    setEnabled(rig, false);
    rig.at(2700);
    setEnabled(rig, true);
    rig.at(5000);
    EXPECT_EQ(rig.ticks, (std::vector<Millis> { 1000, 3700, 4700 }));
}

TEST(Timer, ALateWakeUpDeliversOneTickNotABurst)
{
    TimerRig rig;
    int ticks = 0;
    rig.timer->OnTimer = [&](TObject*) { ++ticks; };
    // Woken 4.5 intervals late: one tick, and the next a whole interval after the wake-up.
    rig.timer->tick(5500);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(rig.timer->nextDue(), 6500);
}

TEST(Timer, TimersDueTogetherTickInCreationOrder)
{
    std::vector<std::string> order;
    Sandbox box([&](Application&, TForm& form) {
        for (const char* name : { "timA", "timB", "timC" }) {
            auto* t = form.create<TTimer>(name);
            t->OnTimer = [&order, name](TObject*) { order.push_back(name); };
        }
    });
    box.platform().advance(1000);
    EXPECT_EQ(order, (std::vector<std::string> { "timA", "timB", "timC" }));
}
