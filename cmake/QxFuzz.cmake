# The fuzz targets of the loaders of untrusted files, built apart with Debian's clang and its
# libFuzzer runtime under AddressSanitizer and UndefinedBehaviorSanitizer (the project's compiler
# is gcc, which has no libFuzzer). One external project (cmake/fuzz) builds them all from the
# sources of the folders they need; each test folder registers its own with qx_add_fuzz_test,
# which ctest runs for a bounded time over the folder's hand-made seeds in fuzz/corpus. Skipped
# (with a notice) when clang++ or libFuzzer is not installed.
set(QX_FUZZ_OK FALSE)
if(QX_BUILD_FUZZ)
  find_program(QX_CLANGXX NAMES clang++ clang++-14)
  if(QX_CLANGXX)
    # Probe the real capability once: compile and link an empty fuzzer with both sanitizers.
    set(probe_dir ${CMAKE_BINARY_DIR}/fuzz-probe)
    file(MAKE_DIRECTORY ${probe_dir})
    file(WRITE ${probe_dir}/probe.cpp
      "#include <cstdint>\n#include <cstddef>\nextern \"C\" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }\n")
    execute_process(COMMAND ${QX_CLANGXX} -fsanitize=fuzzer,address,undefined ${probe_dir}/probe.cpp
                            -o ${probe_dir}/probe
                    RESULT_VARIABLE probe_rc OUTPUT_QUIET ERROR_QUIET)
    if(probe_rc EQUAL 0)
      set(QX_FUZZ_OK TRUE)
    endif()
  endif()
  if(NOT QX_FUZZ_OK)
    message(STATUS "Fuzz targets skipped: clang++ with libFuzzer (libclang-rt-14-dev) not found")
  else()
    include(ExternalProject)
    # The outer build runs other jobs beside this one: the fuzz build takes few of its own.
    set(QX_FUZZ_JOBS 2 CACHE STRING "Parallel jobs of the fuzz targets' build")
    set(QX_FUZZ_BIN ${CMAKE_BINARY_DIR}/fuzz-build)
    ExternalProject_Add(qx_fuzzers
      SOURCE_DIR ${PROJECT_SOURCE_DIR}/cmake/fuzz
      BINARY_DIR ${QX_FUZZ_BIN}
      CMAKE_ARGS -DCMAKE_CXX_COMPILER=${QX_CLANGXX} -DCMAKE_BUILD_TYPE=RelWithDebInfo
                 -DQX_ROOT=${PROJECT_SOURCE_DIR}
                 -DQt6_DIR=${Qt6_DIR} -DCMAKE_PREFIX_PATH=${CMAKE_PREFIX_PATH}
      BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --parallel ${QX_FUZZ_JOBS}
      BUILD_ALWAYS ON
      INSTALL_COMMAND "")
  endif()
endif()

# qx_add_fuzz_test(<ctest name> <fuzzer> [SECONDS n] [MAX_LEN bytes] [CORPUS folder] [DICT file])
# Runs the fuzzer for n seconds (10 by default) over the seeds in CORPUS (the calling folder's
# fuzz/corpus by default), with the words of DICT when given. New inputs it finds go to the
# build folder, never into the sources.
function(qx_add_fuzz_test name fuzzer)
  cmake_parse_arguments(A "" "SECONDS;MAX_LEN;CORPUS;DICT" "" ${ARGN})
  if(NOT QX_FUZZ_OK)
    return()
  endif()
  if(NOT A_SECONDS)
    set(A_SECONDS 10)
  endif()
  if(NOT A_MAX_LEN)
    set(A_MAX_LEN 8192)
  endif()
  if(NOT A_CORPUS)
    set(A_CORPUS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus)
  endif()
  set(dict)
  if(A_DICT)
    set(dict -dict=${A_DICT})
  endif()
  set(work ${CMAKE_CURRENT_BINARY_DIR}/fuzz-corpus-${fuzzer})
  file(MAKE_DIRECTORY ${work})
  math(EXPR timeout "${A_SECONDS} * 4 + 60")
  add_test(NAME ${name}
           COMMAND ${QX_FUZZ_BIN}/${fuzzer} -max_total_time=${A_SECONDS} -timeout=5
                   -rss_limit_mb=1024 -malloc_limit_mb=64 -max_len=${A_MAX_LEN} ${dict}
                   ${work} ${A_CORPUS})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${timeout}
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/cmake/fuzz/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1;QT_QPA_PLATFORM=offscreen")
endfunction()
