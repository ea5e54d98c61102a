# Plot rendering: number texts, tick rule, curves and the redraw (no Qt), and
# the surface that paints it through a QPainter (QtGui).
add_library(wendrel_plot STATIC
  ${CMAKE_CURRENT_LIST_DIR}/number_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tick_rule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_wavelengths.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stepped_curve.cpp
  ${CMAKE_CURRENT_LIST_DIR}/line_marks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/renderer.cpp)
target_link_libraries(wendrel_plot PUBLIC wendrel_store)

add_library(wendrel_plot_image STATIC ${CMAKE_CURRENT_LIST_DIR}/painter_surface.cpp)
target_link_libraries(wendrel_plot_image PUBLIC wendrel_plot Qt6::Gui)
