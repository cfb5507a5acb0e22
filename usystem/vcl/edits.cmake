# The library's edits: the edit base, the link and typed edits with their shared number pad,
# date pad and candidate pop-up, the date model and the month calendar with its month menu and
# year spin. The data edit is a library of its own, since only it needs the datasets.
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
    ${CMAKE_CURRENT_LIST_DIR}/uQxNumPad.h
    ${CMAKE_CURRENT_LIST_DIR}/uQxNumPad.cpp
    ${CMAKE_CURRENT_LIST_DIR}/uQxIMEPad.h
    ${CMAKE_CURRENT_LIST_DIR}/uQxIMEPad.cpp
  DEPS qxvcl_controls qxplatform_ui qxplatform_env qxplatform_rtl Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_edits)

qx_add_library(qxvcl_dbedits
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/uQxDBEdit.h
    ${CMAKE_CURRENT_LIST_DIR}/uQxDBEdit.cpp
  DEPS qxvcl_edits qxplatform_db qxplatform_env Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_dbedits)
