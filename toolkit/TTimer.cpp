#include "TTimer.h"

#include "Application.h"
#include "TForm.h"

namespace tk {

TTimer::TTimer(TForm& owner, std::string name)
    : TComponent(&owner, std::move(name))
    , m_nextDue(owner.application().now() + m_interval)
{
}

void TTimer::SetInterval(Millis interval)
{
    m_interval = interval > 0 ? interval : 1;
    if (m_enabled)
        m_nextDue = Owner()->application().now() + m_interval;
}

void TTimer::SetEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    if (m_enabled)
        m_nextDue = Owner()->application().now() + m_interval;
}

void TTimer::tick(Millis now)
{
    // Schedule before calling out: the handler may disable the timer, or enable it afresh.
    m_nextDue += m_interval;
    if (m_nextDue <= now)
        m_nextDue = now + m_interval;
    if (OnTimer)
        OnTimer(this);
}

}
