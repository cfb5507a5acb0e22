# The data grid (unit uQxDBGrid): one class family over several files named uQxDBGrid*, and
# the date-choice dialog its date cells open.
file(GLOB qxvcl_dbgrid_sources CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/uQxDBGrid*.h
  ${CMAKE_CURRENT_LIST_DIR}/uQxDBGrid*.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uQxSetQueryDate.h
  ${CMAKE_CURRENT_LIST_DIR}/uQxSetQueryDate.cpp)
qx_add_library(qxvcl_dbgrid
  SOURCES ${qxvcl_dbgrid_sources}
  DEPS qxvcl_grids qxvcl_edits qxvcl_controls qxplatform_db qxplatform_stream qxplatform_ui
       qxplatform_env qxplatform_rtl Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_dbgrid)
