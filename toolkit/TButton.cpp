#include "TButton.h"

#include "Painter.h"
#include "TForm.h"

namespace tk {

void TButton::SetCaption(std::string caption)
{
    m_caption = std::move(caption);
    invalidate();
}

void TButton::Click()
{
    if (OnClick)
        OnClick(this);
}

void TButton::setPressed(bool pressed)
{
    if (m_pressed == pressed)
        return;
    m_pressed = pressed;
    invalidate();
}

void TButton::paint(Painter& painter) const
{
    const TForm& form = *Owner();
    const bool focused = form.ActiveControl() == this;
    painter.drawButtonFace(BoundsRect(), m_pressed ? ButtonLook::Sunken : ButtonLook::Raised);

    const Font& font = form.Font();
    int textWidth = font.textWidth(m_caption);
    int shift = m_pressed ? 1 : 0;
    Point origin { Left() + (Width() - textWidth) / 2 + shift, Top() + (Height() - font.height()) / 2 + shift };
    painter.drawText(origin, m_caption, form.FontColor(), font, BoundsRect());

    if (focused) {
        Rect inner { Left() + 4, Top() + 4, Width() - 8, Height() - 8 };
        painter.drawFocusRect(inner);
    }
}

}
