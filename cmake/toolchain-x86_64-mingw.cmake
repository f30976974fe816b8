# Cross toolchain: 64-bit Windows (x86_64), the tests' target where the machine runs no 32-bit program.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)

# wine's 64-bit loader itself: Debian's `wine` launcher takes the 32-bit one whenever wine32 is installed.
find_program(WINE_PROGRAM wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PROGRAM})
