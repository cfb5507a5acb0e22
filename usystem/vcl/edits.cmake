# The library's edit base, the date model and the month calendar with its month menu and year
# spin. The typed and data edits join uQxEdits, the date pad joins uQxDatePad.
qx_add_library(qxvcl_edits
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/uQxEdits.h
    ${CMAKE_CURRENT_LIST_DIR}/uQxEdits.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uQxDate.h
    ${CMAKE_CURRENT_LIST_DIR}/uQxDate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uQxTransControl.h
    ${CMAKE_CURRENT_LIST_DIR}/uQxTransControl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uQxDatePad.h
    ${CMAKE_CURRENT_LIST_DIR}/uQxDatePad.cpp
  DEPS qxplatform_ui qxplatform_rtl Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_edits)
