#include "TImage.h"

#include "Painter.h"

namespace tk {

void TImage::SetPicture(const Bitmap& picture)
{
    m_picture = picture;
    if (m_autoSize && !m_picture.empty())
        SetBounds({ Left(), Top(), m_picture.width(), m_picture.height() });
    invalidate();
}

void TImage::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (m_autoSize && !m_picture.empty())
        SetBounds({ Left(), Top(), m_picture.width(), m_picture.height() });
}

void TImage::SetStretch(bool stretch)
{
    m_stretch = stretch;
    invalidate();
}

void TImage::paint(Painter& painter) const
{
    if (m_picture.empty())
        return;
    if (m_stretch)
        painter.drawBitmapScaled(BoundsRect(), m_picture);
    else
        painter.drawBitmap({ Left(), Top() }, m_picture, BoundsRect());
}

}
