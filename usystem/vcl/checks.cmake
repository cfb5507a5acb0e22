# The check and bitmap list box and the check tree, with the button marks they draw.
set(qxvcl_checks_units QxFrameControl uQxListBox uQxTreeView)
set(qxvcl_checks_sources)
foreach(unit ${qxvcl_checks_units})
  foreach(ext h cpp)
    if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/${unit}.${ext})
      list(APPEND qxvcl_checks_sources ${CMAKE_CURRENT_LIST_DIR}/${unit}.${ext})
    endif()
  endforeach()
endforeach()
qx_add_library(qxvcl_checks SOURCES ${qxvcl_checks_sources}
  DEPS qxvcl_controls qxplatform_ui qxplatform_stream qxplatform_env qxplatform_rtl Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_checks)
