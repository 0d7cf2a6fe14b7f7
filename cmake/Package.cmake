# The release zip: both programs, a README for Windows users, the licence and the third-party notices.
set(etb_package ${CMAKE_BINARY_DIR}/package)

# Text files for Notepad: CRLF line ends.
function(etb_windows_text from to)
  file(READ "${from}" text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE "${to}" "${text}")
endfunction()

# What is linked into the programs, and where Debian's packages put its licences. The C and C++
# runtimes are linked statically; the two JSON and option libraries are header-only.
set(etb_notices
  "GCC's C++ library (libstdc++) and runtime (libgcc): GPL 3 with the GCC Runtime Library Exception"
  /usr/share/doc/gcc-mingw-w64-base/copyright
  "The MinGW-w64 C runtime and its threads library (winpthreads): ZPL 2.1, MIT and others"
  /usr/share/doc/mingw-w64-common/copyright
  "JSON for Modern C++ (nlohmann/json) ${nlohmann_json_VERSION}: MIT"
  /usr/share/doc/nlohmann-json3-dev/copyright
  "CLI11 ${CLI11_VERSION}: BSD 3-clause"
  /usr/share/doc/libcli11-dev/copyright)
set(index "")
set(texts "")
set(missing "")
while(etb_notices)
  list(POP_FRONT etb_notices what where)
  if(NOT EXISTS "${where}")
    list(APPEND missing "${where}")
    continue()
  endif()
  file(READ "${where}" text)
  string(APPEND index "- ${what}\n")
  string(APPEND texts "\n\n======== ${what}\n======== (${where}, as Debian's package installs it)\n\n${text}")
endwhile()
if(missing)
  message(WARNING "No package target: the third-party licences are not where Debian's packages put them (${missing})")
  return()
endif()
math(EXPR etb_bits "${CMAKE_SIZEOF_VOID_P} * 8")
file(WRITE ${etb_package}/notices.txt
  "Third-party notices for ExtTextOutBench ${PROJECT_VERSION}\n\nThe programs contain code from these, "
  "whose licences follow in full:\n\n${index}${texts}")
etb_windows_text(${etb_package}/notices.txt ${etb_package}/THIRD-PARTY-NOTICES.txt)
etb_windows_text(${PROJECT_SOURCE_DIR}/LICENSE ${etb_package}/LICENSE.txt)
if(etb_bits EQUAL 32)
  set(etb_arch_note "This 32-bit build runs on 32-bit and 64-bit Windows.")
else()
  set(etb_arch_note "This 64-bit build needs 64-bit Windows; the win32 zip runs on any.")
endif()
configure_file(${PROJECT_SOURCE_DIR}/package/README.txt.in ${etb_package}/README.txt @ONLY NEWLINE_STYLE CRLF)

install(TARGETS ExtTextOutBench ExtTextOutBenchCli RUNTIME DESTINATION .)
install(FILES ${etb_package}/README.txt ${etb_package}/LICENSE.txt ${etb_package}/THIRD-PARTY-NOTICES.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ExtTextOutBench)
set(CPACK_PACKAGE_FILE_NAME ExtTextOutBench-${PROJECT_VERSION}-win${etb_bits})
set(CPACK_STRIP_FILES ON)  # the debug information stays in the build
set(CPACK_VERBATIM_VARIABLES ON)
include(CPack)
