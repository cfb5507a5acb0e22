# The cross-fading image button: its pixel routines, its wave sounds, its painting base and the
# button itself.
set(qxvcl_gif_units uQxGifffBmp uQxGifUtils uQxGifWavctrl uQxGifVclBase uQxGifButton)
set(qxvcl_gif_sources)
foreach(unit ${qxvcl_gif_units})
  foreach(ext h cpp)
    if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/${unit}.${ext})
      list(APPEND qxvcl_gif_sources ${CMAKE_CURRENT_LIST_DIR}/${unit}.${ext})
    endif()
  endforeach()
endforeach()
qx_add_library(qxvcl_gif SOURCES ${qxvcl_gif_sources}
  DEPS qxvcl_controls qxplatform_stream qxplatform_ui qxplatform_env qxplatform_rtl
       Qt6::Widgets Qt6::Multimedia)
target_link_libraries(qxvcl INTERFACE qxvcl_gif)
