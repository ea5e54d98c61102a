# Saving the plot window's picture as PNG, SVG or PDF from its File menu.
add_library(wendrel_picture_windows STATIC ${CMAKE_CURRENT_LIST_DIR}/picture_saving.cpp)
target_link_libraries(wendrel_picture_windows PUBLIC wendrel_plot_vector wendrel_printing_windows wendrel_plot_window
                      Qt6::Widgets)
