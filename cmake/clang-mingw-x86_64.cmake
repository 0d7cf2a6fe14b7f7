# 64-bit Windows with clang; see clang-mingw.cmake.
set(etb_mingw_arch x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)
