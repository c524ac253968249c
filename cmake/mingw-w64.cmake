# Cross-compiling the Windows program on Debian with mingw-w64 (packages
# g++-mingw-w64-x86-64-posix or g++-mingw-w64-x86-64-win32). Used by the "windows" preset.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DORGO_MINGW_PREFIX x86_64-w64-mingw32)

# Debian installs the compilers under their thread model's name and points the plain name at
# one of them through alternatives; the posix model comes first because the toolkit may use
# std::thread and friends.
find_program(CMAKE_C_COMPILER NAMES ${DORGO_MINGW_PREFIX}-gcc-posix ${DORGO_MINGW_PREFIX}-gcc-win32 ${DORGO_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${DORGO_MINGW_PREFIX}-g++-posix ${DORGO_MINGW_PREFIX}-g++-win32 ${DORGO_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${DORGO_MINGW_PREFIX}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${DORGO_MINGW_PREFIX})
# Programs run on the build machine; libraries and headers come from the Windows side only.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
