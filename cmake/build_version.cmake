# Writes the build's version header: the project's version and the commit the sources are at.
# It runs at every build, since a new commit changes nothing CMake watches; the header is
# replaced only when its text changes, so nothing is compiled again without need.
#
# In: SOURCE_DIR, OUTPUT, VERSION. A build from sources outside git (a release tarball) may name
# its commit in the environment variable QH_COMMIT.
set(commit "$ENV{QH_COMMIT}")
if(commit STREQUAL "")
  execute_process(COMMAND git -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
                  OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(failed OR commit STREQUAL "")
    set(commit "unknown")
  else()
    # Built from sources that differ from the commit: said, so the build is never taken for it.
    execute_process(COMMAND git -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
                    OUTPUT_VARIABLE changes OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(NOT changes STREQUAL "")
      string(APPEND commit "-modified")
    endif()
  endif()
endif()
set(text "// Written by cmake/build_version.cmake at each build.\n#pragma once\n#define QH_VERSION_STRING \"${VERSION}\"\n#define QH_COMMIT_STRING \"${commit}\"\n")
set(current "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" current)
endif()
if(NOT current STREQUAL text)
  file(WRITE "${OUTPUT}" "${text}")
endif()
