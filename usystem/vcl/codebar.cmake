# The barcode label list dialog (unit uQxCodebar).
qx_add_library(qxvcl_codebar
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/uQxCodebar.h ${CMAKE_CURRENT_LIST_DIR}/uQxCodebar.cpp
  DEPS qxvcl_dbgrid qxvcl_edits qxvcl_controls qxplatform_db qxplatform_env Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_codebar)
