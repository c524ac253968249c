#include "DragCursor.h"

namespace tk {

namespace {
// clang-format off
const char* const kDragCursorXpm[] = {
    "20 22 3 1",
    "  c None",
    "X c #000000",
    ". c #FFFFFF",
    "X                   ",
    "XX                  ",
    "X.X                 ",
    "X..X                ",
    "X...X               ",
    "X....X              ",
    "X.....X             ",
    "X......X            ",
    "X.......X           ",
    "X........X          ",
    "X.....XXXXX         ",
    "X..X..X             ",
    "X.X X..X            ",
    "XX  X..X   XXXXXXXXX",
    "X    X..X  X.......X",
    "     X..X  X.XXXXX.X",
    "      XX   X.......X",
    "           X.XXXXX.X",
    "           X.......X",
    "           X.XXX...X",
    "           X.......X",
    "           XXXXXXXXX",
};
// clang-format on
}

Bitmap dragCursorPicture()
{
    return Bitmap::fromXpm(kDragCursorXpm);
}

}
