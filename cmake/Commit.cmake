# Writes OUTPUT, a header naming the git commit SOURCE_DIR is at ("abc1234", "-dirty" with uncommitted
# changes), or none outside a checkout: a source tarball unpacked inside some other repository is
# not that repository's commit. Rewritten only when it changes, so a build without a new commit
# recompiles nothing.
set(commit "")
if(EXISTS "${SOURCE_DIR}/.git")
  find_program(ETB_GIT git)
  if(ETB_GIT)
    execute_process(COMMAND "${ETB_GIT}" -C "${SOURCE_DIR}" rev-parse --short=7 HEAD
      OUTPUT_VARIABLE commit RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_VARIABLE why)
    if(failed)
      message(WARNING "The build names no commit: git rev-parse said ${why}")
      set(commit "")
    else()
      execute_process(COMMAND "${ETB_GIT}" -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
        OUTPUT_VARIABLE changes ERROR_QUIET)
      if(NOT changes STREQUAL "")
        string(APPEND commit "-dirty")
      endif()
    endif()
  endif()
endif()
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT "#define ETB_COMMIT \"${commit}\"\n" @ONLY)
