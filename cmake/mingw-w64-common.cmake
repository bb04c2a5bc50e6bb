# Shared part of the two mingw-w64 toolchains. The including file sets
# QM_MINGW_TRIPLE before it includes this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${QM_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QM_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${QM_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QM_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Windows test executables run under Wine through this launcher.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine/wine-run.sh)
