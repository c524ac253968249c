// The program entry on Windows: the only place there that picks a backend.

#include "Dorgo.h"
#include "WideText.h"
#include "Win32Platform.h"

#include <windows.h>

#include <string>

namespace {

// The full path of the running program, however long it is. The toy's title comes from it,
// as it does from argv[0] elsewhere.
std::wstring programPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return L"Dorgo.exe";
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        // The name did not fit and was cut short: try again with room to spare.
        path.resize(path.size() * 2);
    }
}

}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    try {
        tk::Win32Platform platform;
        return RunDorgo(platform, tk::toUtf8(programPath()));
    } catch (const tk::PlatformError& e) {
        // A program without a console has nowhere else to say why it did not start.
        const std::wstring text = L"cannot open a window: " + tk::toUtf16(e.what());
        MessageBoxW(nullptr, text.c_str(), L"Dorgo", MB_OK | MB_ICONERROR);
        return ExitNoWindow;
    }
}
