# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (POSIX threads).
# Executables link the C++ runtime statically, so they run without DLLs
# (under Wine, too). Libraries and packages are found only below
# CMAKE_FIND_ROOT_PATH, which the caller sets to the target's own files.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config, too, reads only the target's own .pc files: the host's would
# hand the linker libraries built for Linux.
set(pkg_config_dirs "")
foreach(root IN LISTS CMAKE_FIND_ROOT_PATH)
  list(APPEND pkg_config_dirs ${root}/lib/pkgconfig ${root}/share/pkgconfig)
endforeach()
string(JOIN ":" pkg_config_dirs ${pkg_config_dirs})
set(ENV{PKG_CONFIG_LIBDIR} "${pkg_config_dirs}")
