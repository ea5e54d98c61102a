# The plot window and its owner: the Qt side of the plot, its view control and
# its cursor read-out.
add_library(wendrel_plot_window STATIC
  ${CMAKE_CURRENT_LIST_DIR}/plot_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_window_host.cpp)
set_target_properties(wendrel_plot_window PROPERTIES AUTOMOC ON)
target_link_libraries(wendrel_plot_window PUBLIC wendrel_view wendrel_plot_image Qt6::Widgets)
