#pragma once

#include "Bitmap.h"

namespace tk {

// The drag cursor: an arrow carrying a small document, black outlined in white on a
// transparent ground, with its hot spot at the arrow's tip in the top-left corner. Every
// desktop backend makes its drag cursor from this one picture, so dragging looks alike
// everywhere.
Bitmap dragCursorPicture();

}
