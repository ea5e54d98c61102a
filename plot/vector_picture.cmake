# The files the plot window saves its picture into (PNG, SVG, PDF).
add_library(wendrel_plot_vector STATIC ${CMAKE_CURRENT_LIST_DIR}/picture_files.cpp)
target_link_libraries(wendrel_plot_vector PUBLIC wendrel_plot_image Qt6::Gui Qt6::Svg)
