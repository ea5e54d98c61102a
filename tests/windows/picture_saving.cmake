# Saving the plot window's picture through the program: files read back, PDF
# pages through poppler-utils' pdftoppm and pdftotext.
wendrel_add_test(tests_picture_saving
  ${PROJECT_SOURCE_DIR}/tests/support/qt_test_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picture_saving_test.cpp)
target_link_libraries(tests_picture_saving PRIVATE wendrel_main_windows wendrel_fits_writer Qt6::Test)
