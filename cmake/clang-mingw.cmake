# Debian's clang building for MinGW-w64 with the installed GCC's C++ library, runtime and start-up files
# (included by clang-mingw-<arch>.cmake, which sets etb_mingw_arch).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${etb_mingw_arch})
set(etb_triple ${etb_mingw_arch}-w64-mingw32)

# clang 14 does not read GCC's version folder ("12-posix"), so it is named here: the newest posix one.
file(GLOB etb_gcc_dirs LIST_DIRECTORIES true /usr/lib/gcc/${etb_triple}/*-posix)
if(NOT etb_gcc_dirs)
  message(FATAL_ERROR "No MinGW-w64 GCC with posix threads in /usr/lib/gcc/${etb_triple}: bash scripts/setup.sh installs it")
endif()
list(SORT etb_gcc_dirs COMPARE NATURAL ORDER DESCENDING)
list(GET etb_gcc_dirs 0 etb_gcc)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${etb_triple})
set(CMAKE_CXX_COMPILER_TARGET ${etb_triple})
set(CMAKE_RC_COMPILER ${etb_triple}-windres)
set(CMAKE_AR /usr/bin/${etb_triple}-ar)
set(CMAKE_RANLIB /usr/bin/${etb_triple}-ranlib)
set(CMAKE_STRIP /usr/bin/${etb_triple}-strip)
set(CMAKE_SYSROOT /usr/${etb_triple})
# GCC predefines these for MinGW, and its libstdc++ is built so: type_info's == out of line, whose
# inline copy clang would otherwise emit beside the library's.
set(CMAKE_CXX_FLAGS_INIT "-stdlib++-isystem ${etb_gcc}/include/c++ -stdlib++-isystem ${etb_gcc}/include/c++/${etb_triple} \
-stdlib++-isystem ${etb_gcc}/include/c++/backward -D__GXX_TYPEINFO_EQUALITY_INLINE=0 -D__GXX_MERGED_TYPEINFO_NAMES=0")
# GCC's crtbegin.o (-B) registers the DWARF unwind tables i686 exceptions need; the sysroot's does
# not. -pthread puts winpthreads in the runtime group, where libstdc++ and libgcc_eh find it. lld
# links because GNU ld warns of every COMDAT whose padding differs between the two compilers.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -B${etb_gcc} -L${etb_gcc} -pthread")
set(CMAKE_FIND_ROOT_PATH /usr/${etb_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
