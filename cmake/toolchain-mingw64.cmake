# Cross build for 64-bit Windows with mingw-w64's posix thread model compiler.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VH_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VH_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VH_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VH_TRIPLE}-windres)

# The dependency prefix must be a find root too, or find_package never sees it
# once the search is confined to the roots.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VH_DEPS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${VH_TRIPLE} ${VH_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

