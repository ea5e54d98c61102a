# Printing from the plot window on the offscreen platform: PDF pages of the
# real window, failures and their messages, the print dialog answered from a
# timer, and (as root) printing through a CUPS scheduler of the test's own.
wendrel_add_test(tests_printing
  ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/private_cups.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_printing_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cups_print_test.cpp)
target_link_libraries(tests_printing PRIVATE wendrel_printing_windows wendrel_main_windows wendrel_fits
                      wendrel_fits_writer Qt6::Test)
