# The library's drawing routines, standard controls, flat buttons, base forms, the form look
# pass and the message dialog.
set(qxvcl_controls_units uQxGraphics uQxStdCtrls uQxButtons uQxFormLook uBase udlgBase uQxMsgdlg)
set(qxvcl_controls_sources)
foreach(unit ${qxvcl_controls_units})
  foreach(ext h cpp)
    if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/${unit}.${ext})
      list(APPEND qxvcl_controls_sources ${CMAKE_CURRENT_LIST_DIR}/${unit}.${ext})
    endif()
  endforeach()
endforeach()
qx_add_library(qxvcl_controls SOURCES ${qxvcl_controls_sources}
  DEPS qxplatform_ui qxplatform_env qxplatform_rtl Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_controls)
