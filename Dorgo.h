#pragma once

#include "Platform.h"

#include <string_view>

// Exit codes of the program.
inline constexpr int ExitClosed = 0;
inline constexpr int ExitNoWindow = 1;
inline constexpr int ExitWindowSystemGone = 3;

// Runs the toy on the given window system until its window closes: gives the state its
// starting values, builds the window (whose creation handler puts the creature to sleep and
// chooses the first fish), shows it and runs the event loop. The application's title comes
// from the program file's name. Returns the exit code.
int RunDorgo(tk::Platform& platform, std::string_view programPath);
