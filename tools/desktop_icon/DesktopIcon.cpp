// Writes the program's icon as a PNG for the desktop's icon theme, enlarged by a whole factor
// so that its pixels stay sharp.
//
//   desktop_icon FACTOR output.png

#include "Art.h"
#include "PngFile.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv)
{
    int factor = argc == 3 ? std::atoi(argv[1]) : 0;
    if (factor < 1 || factor > 16) {
        std::fprintf(stderr, "usage: %s FACTOR output.png   (FACTOR a whole number from 1 to 16)\n", argc > 0 ? argv[0] : "desktop_icon");
        return 2;
    }
    try {
        tk::Bitmap icon = art::Picture("MAINICON");
        tk::Bitmap large(icon.width() * factor, icon.height() * factor);
        for (int y = 0; y < large.height(); ++y)
            for (int x = 0; x < large.width(); ++x)
                large.setPixel(x, y, icon.pixel(x / factor, y / factor));
        writePng(argv[2], large);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "desktop_icon: %s\n", e.what());
        return 1;
    }
    return 0;
}
