# Cross toolchain shared by the targets: Windows through mingw-w64's posix thread model, for the triple that
# the including toolchain file sets in MINGW_TRIPLE; test programs run under wine.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

# The mingw sysroot; the project adds its dependency cache to this list.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Everything inside the .exe: it needs only Windows' own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
