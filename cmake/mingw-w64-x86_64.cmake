# Cross build for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CHW_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CHW_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${CHW_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${CHW_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${CHW_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Self-contained executables: no MinGW runtime DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
