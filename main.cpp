// The program entry on Linux and other SDL desktops: the only place that picks a backend.

#include "Dorgo.h"
#include "SdlPlatform.h"

#include <cstdio>

int main(int argc, char** argv)
{
    try {
        tk::SdlPlatform platform;
        return RunDorgo(platform, argc > 0 && argv[0] ? argv[0] : "Dorgo");
    } catch (const tk::PlatformError& e) {
        std::fprintf(stderr, "cannot open a window: %s\n", e.what());
        return ExitNoWindow;
    }
}
