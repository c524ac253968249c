#pragma once

#include "TControl.h"

#include <string>

namespace tk {

// A line of text in the form's font, on the form's colour, from the label's top-left corner.
class TLabel : public TControl {
public:
    TLabel(TForm& owner, std::string name, const Rect& bounds)
        : TControl(owner, std::move(name), bounds)
    {
    }

    const std::string& Caption() const { return m_caption; }
    void SetCaption(std::string caption);

    void paint(Painter&) const override;

private:
    std::string m_caption;
};

}
