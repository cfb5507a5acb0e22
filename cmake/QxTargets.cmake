# Helpers that keep every folder's CMakeLists short and alike.
include(GoogleTest)

# Precompiled headers, each built once by its own object target and reused by every target
# that takes it (REUSE_FROM): qxpch (standard and QtCore headers) for the libraries and
# programs, qxpch_test (the same and GoogleTest) for the test programs. A header's object
# target links what its users link, so the definitions it sees are theirs; every target
# compiles position-independent code (Qt asks for -fPIC), which keeps the header valid for all
# of them. -Winvalid-pch reports a target whose flags stop matching: GCC then parses the
# headers again, silently, at full cost. Qt Gui and Widgets headers stay out: loading a larger
# header costs every unit about what parsing them saves the units that use them.
function(qx_pch_target target header)
  add_library(${target} OBJECT ${PROJECT_SOURCE_DIR}/cmake/qx_pch.cpp)
  target_link_libraries(${target} PRIVATE ${ARGN})
  target_precompile_headers(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/${header})
  set_target_properties(${target} PROPERTIES AUTOMOC OFF)
endfunction()
qx_pch_target(qxpch qx_pch.h Qt6::Core)
qx_pch_target(qxpch_test qx_pch_test.h Qt6::Core GTest::gtest)

# qx_add_library(<target> [DIR <folder>] [SOURCES ...] [DEPS ...])
# A static library of the sources of one folder (DIR, not recursive) or of the listed SOURCES.
# Headers are included from the project root: #include "platform/rtl/Gbk.h".
function(qx_add_library target)
  cmake_parse_arguments(A "" "DIR" "SOURCES;DEPS" ${ARGN})
  set(srcs ${A_SOURCES})
  if(A_DIR)
    file(GLOB dir_srcs CONFIGURE_DEPENDS ${A_DIR}/*.cpp ${A_DIR}/*.h)
    list(APPEND srcs ${dir_srcs})
  endif()
  add_library(${target} STATIC ${srcs})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${A_DEPS})
  target_precompile_headers(${target} REUSE_FROM qxpch)
  qx_unity(${target})
  qx_automoc(${target} ${srcs})
endfunction()

# qx_automoc(<target> <sources>): moc runs only for a target whose sources declare a Q_OBJECT
# or Q_GADGET; for the others its scan and the empty compilation unit it makes are wasted.
function(qx_automoc target)
  set(needs_moc OFF)
  foreach(src ${ARGN})
    get_filename_component(src ${src} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    if(src MATCHES "\\.(h|cpp)$" AND EXISTS ${src})
      file(STRINGS ${src} hits REGEX "Q_OBJECT|Q_GADGET|Q_NAMESPACE")
      if(hits)
        set(needs_moc ON)
        break()
      endif()
    endif()
  endforeach()
  set_target_properties(${target} PROPERTIES AUTOMOC ${needs_moc})
  if(needs_moc AND QX_UNITY_BUILD)
    # Batched, the meta-object code joins one of the target's batches through a unit of the
    # build folder that includes it, instead of compiling alone and parsing its headers again.
    get_target_property(autogen_dir ${target} AUTOGEN_BUILD_DIR)
    if(NOT autogen_dir)
      set(autogen_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen)
    endif()
    set(moc_unit ${CMAKE_CURRENT_BINARY_DIR}/${target}_moc_unit.cpp)
    file(CONFIGURE OUTPUT ${moc_unit} CONTENT
         "// The meta-object code of ${target}, compiled in one of its batches.\n#include \"${autogen_dir}/mocs_compilation.cpp\"\n")
    target_sources(${target} PRIVATE ${moc_unit})
    set_source_files_properties(${autogen_dir}/mocs_compilation.cpp PROPERTIES HEADER_FILE_ONLY ON)
  endif()
endfunction()

# qx_unity(<target>): with QX_UNITY_BUILD on, the target's sources compile in batches of
# sixteen. Every batch pays for loading the precompiled header and for compiling again the
# inline and template code its files share; sixteen keeps the largest batch of a two-core
# build well under a minute.
function(qx_unity target)
  if(QX_UNITY_BUILD)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 16)
    # A batch includes its .cpp files, so GCC takes a file's anonymous-namespace types for a
    # header's and warns on every class that uses one; compiled alone the files are clean.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
      target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
    endif()
  endif()
endfunction()

# qx_add_gtest(<dotted.name> [SOURCES ...] [LIBS ...])
# One test program per folder; ctest names are "<dotted.name>.<Suite>.<Test>".
# Without SOURCES it takes every .cpp of the calling folder. The shared main starts a
# QApplication on the offscreen platform and installs the scripted dialog service.
function(qx_add_gtest name)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  set(srcs ${A_SOURCES})
  if(NOT srcs)
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  endif()
  string(REPLACE "." "_" target "test_${name}")
  add_executable(${target} ${srcs})
  target_link_libraries(${target} PRIVATE ${A_LIBS} qxtestsupport GTest::gtest GTest::gmock)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  target_precompile_headers(${target} REUSE_FROM qxpch_test)
  qx_unity(${target})
  qx_automoc(${target} ${srcs})
  target_compile_definitions(${target} PRIVATE QX_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures"
                                               QX_PROGRAM_DIR="${QX_PROGRAM_DIR}")
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 120)
  endif()
  gtest_discover_tests(${target}
    TEST_PREFIX "${name}."
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT ${A_TIMEOUT})
endfunction()

# qx_add_bench(<name> SOURCES ... LIBS ...): a benchmark program, never run by ctest.
function(qx_add_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(bench_${name} ${A_SOURCES})
  target_link_libraries(bench_${name} PRIVATE ${A_LIBS} qxbenchsupport)
  target_include_directories(bench_${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_precompile_headers(bench_${name} REUSE_FROM qxpch)
  qx_automoc(bench_${name} ${A_SOURCES})
endfunction()
