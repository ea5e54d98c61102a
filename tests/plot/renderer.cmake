# Number texts and the redraw against a recording surface (no Qt), and the
# image surface with its envelope drawing compared with drawing every segment.
wendrel_add_test(tests_plot_renderer
  ${CMAKE_CURRENT_LIST_DIR}/number_format_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tick_rule_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/renderer_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pixel_wavelengths_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/line_marks_test.cpp)
target_link_libraries(tests_plot_renderer PRIVATE wendrel_plot)

wendrel_add_test(tests_plot_image ${CMAKE_CURRENT_LIST_DIR}/painter_surface_test.cpp)
target_link_libraries(tests_plot_image PRIVATE wendrel_plot_image)
