# Cross build for 64-bit Windows with mingw-w64's posix thread model compiler
# (std::thread, std::mutex), named here so the machine's mingw-w64
# alternatives, whichever they point at, play no part.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VH_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VH_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VH_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VH_TRIPLE}-windres)
# windres preprocesses with the plain x86_64-w64-mingw32-gcc unless told.
set(CMAKE_RC_FLAGS_INIT
    "--preprocessor=${VH_TRIPLE}-gcc-posix --preprocessor-arg=-E --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED")

# The dependency prefix must be a find root too, or find_package never sees it
# once the search is confined to the roots.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VH_DEPS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${VH_TRIPLE} ${VH_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

