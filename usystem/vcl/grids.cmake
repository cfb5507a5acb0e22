# The grid base (unit uQxGrids): one class over several files.
qx_add_library(qxvcl_grids
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/uQxGrids.h
    ${CMAKE_CURRENT_LIST_DIR}/uQxGrids.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uQxGridsPaint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uQxGridsInput.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uQxGridsEditor.cpp
  DEPS qxplatform_ui qxplatform_rtl Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_grids)
