# The main window, the file chooser and the program's start and end, driven
# through the program's binding on the offscreen platform.
wendrel_add_test(tests_main_window
  ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_start_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_chooser_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_rows_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/velocity_rows_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_end_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/open_files_test.cpp)
target_link_libraries(tests_main_window PRIVATE wendrel_main_windows wendrel_fits_writer Qt6::Test)
