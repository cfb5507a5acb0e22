# The library's function unit: paths, settings values, start-up formats, input codes.
qx_add_library(qxvcl_foundation
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/uQxFuncs.h ${CMAKE_CURRENT_LIST_DIR}/uQxFuncs.cpp
  DEPS qxplatform_ini qxplatform_env qxplatform_rtl Qt6::Core)
target_link_libraries(qxvcl INTERFACE qxvcl_foundation)
