# The program's windows driven as a user does, on the offscreen platform.
wendrel_add_test(tests_main_window
  ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/chooser_layout_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_rows_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_chooser_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/open_files_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/header_viewer_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_about_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_end_test.cpp)
target_link_libraries(tests_main_window PRIVATE wendrel_main_windows wendrel_fits_writer Qt6::Test)
