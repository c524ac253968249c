#pragma once

#include "Bitmap.h"
#include "TControl.h"

namespace tk {

// A picture slot. The picture is drawn with its top-left corner at the slot's top-left corner
// at its own size; a stretched slot scales it to the slot instead. An auto-sized slot takes
// the size of every picture put into it. Pictures are held by value, so putting one slot's
// picture into another copies it.
class TImage : public TControl {
public:
    TImage(TForm& owner, std::string name, const Rect& bounds)
        : TControl(owner, std::move(name), bounds)
    {
    }

    const Bitmap& Picture() const { return m_picture; }
    void SetPicture(const Bitmap& picture);

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool stretch);

    void paint(Painter&) const override;

private:
    Bitmap m_picture;
    bool m_autoSize = false;
    bool m_stretch = false;
};

}
