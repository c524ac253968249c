#pragma once

#include "Platform.h"
#include "TComponent.h"
#include "TControl.h"

namespace tk {

// Calls OnTimer once per interval while enabled. Enabling a stopped timer starts a fresh
// interval; enabling a running one changes nothing; disabling stops its ticks at once. A tick
// that comes late is delivered once, and the next one falls a whole interval later: a slow
// moment never turns into a burst of ticks.
class TTimer : public TComponent {
public:
    TTimer(TForm& owner, std::string name);

    Millis Interval() const { return m_interval; }
    void SetInterval(Millis interval);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);

    TNotifyEvent OnTimer;

    // For the event loop: when the next tick is due, and delivering it.
    Millis nextDue() const { return m_nextDue; }
    void tick(Millis now);

private:
    Millis m_interval = 1000;
    bool m_enabled = true;
    Millis m_nextDue = 0;
};

}
