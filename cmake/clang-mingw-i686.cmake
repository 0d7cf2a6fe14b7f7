# 32-bit Windows with clang; see clang-mingw.cmake.
set(etb_mingw_arch i686)
include(${CMAKE_CURRENT_LIST_DIR}/clang-mingw.cmake)
