# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which
# std::thread and Qt need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZFU_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZFU_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZFU_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZFU_MINGW_TRIPLE}-windres)

set(CMAKE_SYSROOT_PREFIX /usr/${ZFU_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH /usr/${ZFU_MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# The host's pkg-config would hand Linux libraries to a Windows build.
set(ENV{PKG_CONFIG_LIBDIR} /usr/${ZFU_MINGW_TRIPLE}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")
