# Cross build of the desktop program for 64-bit Windows: the MinGW-w64 toolchain plus the Qt that
# scripts/build-qt-windows.sh installs (DW_WINDOWS_QT, also read from the environment), whose
# build tools (moc, uic, rcc) come from the host's Qt of the same version.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)

if(NOT DW_WINDOWS_QT AND DEFINED ENV{DW_WINDOWS_QT})
  set(DW_WINDOWS_QT "$ENV{DW_WINDOWS_QT}")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES DW_WINDOWS_QT)
if(DW_WINDOWS_QT)
  list(APPEND CMAKE_FIND_ROOT_PATH ${DW_WINDOWS_QT})
  list(APPEND CMAKE_PREFIX_PATH ${DW_WINDOWS_QT})
endif()
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
