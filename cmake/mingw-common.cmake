# Shared by the MinGW-w64 toolchain files; TINTWRIGHT_MINGW_TRIPLE names the target.
set(CMAKE_SYSTEM_NAME Windows)
# The POSIX thread model: the default win32 one has no std::mutex or std::thread,
# which GoogleTest needs. Static linking keeps winpthread out of the DLL list.
set(CMAKE_C_COMPILER ${TINTWRIGHT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TINTWRIGHT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TINTWRIGHT_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TINTWRIGHT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: no libgcc, libstdc++ or winpthread DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
