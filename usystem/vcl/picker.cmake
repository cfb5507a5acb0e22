# The library's pickers: the input-code dialog (uQxIME), the record picker over a document
# structure with the field pickers the data controls' buttons open (uQxSelect), and the
# part-name picker and quantity dialog of the parts workflow.
qx_add_library(qxvcl_picker
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/uQxIME.h
    ${CMAKE_CURRENT_LIST_DIR}/uQxIME.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uQxSelect.h
    ${CMAKE_CURRENT_LIST_DIR}/uQxSelect.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uQxSelectItemName.h
    ${CMAKE_CURRENT_LIST_DIR}/uQxSelectItemName.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uQxAddItemRct.h
    ${CMAKE_CURRENT_LIST_DIR}/uQxAddItemRct.cpp
  DEPS qxvcl_rctstr qxvcl_combos qxvcl_dbgrid qxvcl_dbedits qxvcl_edits qxvcl_ado qxvcl_controls
       qxvcl_foundation qxplatform_db qxplatform_sql qxplatform_ini qxplatform_env qxplatform_ui
       qxplatform_rtl Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_picker)
