# The component stream (TQxStream) and the run-time binding of the report library.
qx_add_library(qxvcl_stream
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/uQxstream.h ${CMAKE_CURRENT_LIST_DIR}/uQxstream.cpp
          ${CMAKE_CURRENT_LIST_DIR}/uQxDllCall.h ${CMAKE_CURRENT_LIST_DIR}/uQxDllCall.cpp
  DEPS qxplatform_stream qxplatform_db qxplatform_ui qxplatform_env Qt6::Widgets)
target_link_libraries(qxvcl INTERFACE qxvcl_stream)
