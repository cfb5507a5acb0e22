# The library's combo boxes (flat, with drawn items, data-aware) and the data controls that
# carry their own caption label.
file(GLOB qxvcl_combos_sources CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/uQxComboBox.h ${CMAKE_CURRENT_LIST_DIR}/uQxComboBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uQxDBComboBox.h ${CMAKE_CURRENT_LIST_DIR}/uQxDBComboBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/uQxDBLabelEdit.h ${CMAKE_CURRENT_LIST_DIR}/uQxDBLabelEdit.cpp)
qx_add_library(qxvcl_combos SOURCES ${qxvcl_combos_sources}
  DEPS qxvcl_dbedits qxvcl_edits qxvcl_controls qxvcl_ado qxplatform_db qxplatform_ui
       qxplatform_env qxplatform_rtl Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_combos)
