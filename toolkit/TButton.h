#pragma once

#include "TControl.h"

#include <string>

namespace tk {

// A push button with a centred caption in the form's font. A click is a left press and release
// over the button, or Space or Enter while it has the keyboard focus. Buttons lie above every
// picture and label, and take a dragged control without needing a handler.
class TButton : public TControl {
public:
    TButton(TForm& owner, std::string name, const Rect& bounds)
        : TControl(owner, std::move(name), bounds)
    {
    }

    const std::string& Caption() const { return m_caption; }
    void SetCaption(std::string caption);
    int TabOrder() const { return m_tabOrder; }
    void SetTabOrder(int tabOrder) { m_tabOrder = tabOrder; }

    TNotifyEvent OnClick;
    void Click();

    bool Pressed() const { return m_pressed; }
    void setPressed(bool pressed);

    bool drawnOnTop() const override { return true; }
    bool acceptsDropsWithoutHandler() const override { return true; }
    void paint(Painter&) const override;

private:
    std::string m_caption;
    int m_tabOrder = 0;
    bool m_pressed = false;
};

// The bitmap-button kind: a button that may carry a glyph beside its caption. Without a glyph
// it looks and behaves like a plain button.
class TBitBtn : public TButton {
public:
    using TButton::TButton;
};

}
