wendrel_add_test(tests_view
  ${CMAKE_CURRENT_LIST_DIR}/scroll_bar_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view_control_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cursor_readout_test.cpp)
target_link_libraries(tests_view PRIVATE wendrel_view)
