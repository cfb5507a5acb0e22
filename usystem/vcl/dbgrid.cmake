# The data grid (unit uQxDBGrid): one class family over several files.
qx_add_library(qxvcl_dbgrid
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/uQxDBGrid.h
    ${CMAKE_CURRENT_LIST_DIR}/uQxDBGrid.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uQxDBGridColumns.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uQxDBGridPaint.cpp
  DEPS qxvcl_grids qxvcl_edits qxplatform_db qxplatform_stream qxplatform_ui qxplatform_env
       qxplatform_rtl Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_dbgrid)
