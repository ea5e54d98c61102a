# The header viewer, help window and about box: the header paging logic
# and the windows themselves, shown on the offscreen platform.
wendrel_add_test(tests_info_windows
  ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/header_paging_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/header_viewer_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_about_test.cpp)
target_link_libraries(tests_info_windows PRIVATE wendrel_info_windows Qt6::Test)
