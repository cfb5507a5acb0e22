# The library's ADO query, its transactions and its optional data module.
qx_add_library(qxvcl_ado
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/uQxADODB.h ${CMAKE_CURRENT_LIST_DIR}/uQxADODB.cpp
          ${CMAKE_CURRENT_LIST_DIR}/uQxdbTrans.h ${CMAKE_CURRENT_LIST_DIR}/uQxdbTrans.cpp
          ${CMAKE_CURRENT_LIST_DIR}/uDMDataBase.h ${CMAKE_CURRENT_LIST_DIR}/uDMDataBase.cpp
  DEPS qxplatform_sql qxplatform_env qxplatform_rtl qxvcl_controls Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_ado)
