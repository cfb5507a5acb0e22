# Document structures (unit uQxRctStr) and the text and layout routines that serve them.
set(qxvcl_rctstr_sources)
foreach(unit uQxRctStr uQxRctFuncs)
  foreach(ext h cpp)
    if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/${unit}.${ext})
      list(APPEND qxvcl_rctstr_sources ${CMAKE_CURRENT_LIST_DIR}/${unit}.${ext})
    endif()
  endforeach()
endforeach()
qx_add_library(qxvcl_rctstr SOURCES ${qxvcl_rctstr_sources}
  DEPS qxvcl_dbgrid qxvcl_ado qxvcl_stream qxvcl_controls qxplatform_db qxplatform_sql
       qxplatform_stream qxplatform_ui qxplatform_env qxplatform_rtl Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_rctstr)
