# Cross build for 64-bit Windows with clang and lld against Debian's MinGW-w64 runtime and
# GCC's MinGW libstdc++ (posix threads flavour): a second compiler on the same code.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET x86_64-w64-windows-gnu)
set(CMAKE_CXX_COMPILER_TARGET x86_64-w64-windows-gnu)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# GCC's MinGW folder: its libstdc++ headers and libraries, and winpthread beside them.
file(GLOB _replimar_gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
list(SORT _replimar_gcc_dirs COMPARE NATURAL ORDER DESCENDING)
list(GET _replimar_gcc_dirs 0 _replimar_gcc)
set(_replimar_cxx ${_replimar_gcc}/include/c++)
# libstdc++ of MinGW GCC keeps thread_local data in emulated TLS; clang must do the same.
set(CMAKE_C_FLAGS_INIT "-femulated-tls")
set(CMAKE_CXX_FLAGS_INIT "-femulated-tls -nostdinc++ -isystem ${_replimar_cxx} -isystem ${_replimar_cxx}/x86_64-w64-mingw32 -isystem ${_replimar_cxx}/backward")
# lld resolves archives in any order, so winpthread can be named with the flags.
# The C++ flags reach the link too, where -nostdinc++ means nothing.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -L${_replimar_gcc} -lpthread -Wno-unused-command-line-argument")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-fuse-ld=lld -L${_replimar_gcc} -lpthread -Wno-unused-command-line-argument")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh)
