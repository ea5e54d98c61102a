# The plot window on the offscreen platform: opening, resize, hide and close,
# the read-out and the zoom controls.
wendrel_add_test(tests_plot_window
  ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_window_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_lines_menu_test.cpp)
target_link_libraries(tests_plot_window PRIVATE wendrel_plot_window Qt6::Test)
