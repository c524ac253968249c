#pragma once

#include <string>

namespace tk {

class TForm;

// Anything with a name that events can come from: picture slots, labels, buttons, timers and
// the form itself. A form owns its components and destroys them with itself; a form has no
// owner.
class TComponent {
public:
    virtual ~TComponent() = default;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return m_name; }
    TForm* Owner() const { return m_owner; }

protected:
    TComponent(TForm* owner, std::string name)
        : m_owner(owner)
        , m_name(std::move(name))
    {
    }

private:
    TForm* m_owner;
    std::string m_name;
};

// The sender of an event: a component, or the form itself.
using TObject = TComponent;

}
