# The header viewer, the help window and the about box, with their widget-free
# paging and layout logic.
add_library(wendrel_info_windows STATIC
  ${CMAKE_CURRENT_LIST_DIR}/header_paging.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/outer_frame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/header_viewer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_box.cpp)
set_target_properties(wendrel_info_windows PROPERTIES AUTOMOC ON)
target_link_libraries(wendrel_info_windows PUBLIC wendrel_store wendrel_app Qt6::Widgets)
