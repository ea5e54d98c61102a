# View control, cursor read-out and layout of the plot window, without widgets.
add_library(wendrel_view STATIC
  ${CMAKE_CURRENT_LIST_DIR}/scroll_bar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view_control.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cursor_readout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_layout.cpp)
target_link_libraries(wendrel_view PUBLIC wendrel_store wendrel_plot)
