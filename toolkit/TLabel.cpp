#include "TLabel.h"

#include "Painter.h"
#include "TForm.h"

namespace tk {

void TLabel::SetCaption(std::string caption)
{
    m_caption = std::move(caption);
    invalidate();
}

void TLabel::paint(Painter& painter) const
{
    const TForm& form = *Owner();
    painter.fillRect(BoundsRect(), form.Color());
    painter.drawText({ Left(), Top() + form.Font().textTopMargin() }, m_caption, form.FontColor(), form.Font(), BoundsRect());
}

}
