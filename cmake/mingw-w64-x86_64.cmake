# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model).
#   DW_WINDOWS_DEPS  prefix of the static libraries built by scripts/build-windows.sh
#                    (libpng, libdeflate, GoogleTest); also read from the environment.
# The toolchain links nothing statically by itself: the `windows` preset adds -static for the
# self-contained command line program, while a program using shared Qt libraries does not.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DW_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DW_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DW_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${DW_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${DW_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${DW_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT DW_WINDOWS_DEPS AND DEFINED ENV{DW_WINDOWS_DEPS})
  set(DW_WINDOWS_DEPS "$ENV{DW_WINDOWS_DEPS}")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES DW_WINDOWS_DEPS)

# Target prefixes belong in the find root path: CMAKE_PREFIX_PATH entries are searched below it.
set(CMAKE_FIND_ROOT_PATH /usr/${DW_MINGW_TRIPLE} ${DW_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config must see the target's .pc files only, never the host's.
if(DW_WINDOWS_DEPS)
  set(ENV{PKG_CONFIG_LIBDIR} "${DW_WINDOWS_DEPS}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
endif()

# zlib: the static archive, not the import library of zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)

# Test programs run under wine (gtest discovery runs before the tests, never during the build).
find_program(DW_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(DW_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${DW_WINE64})
endif()
