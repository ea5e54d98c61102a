# The plot as a vector picture and the picture files (PDF pages read back
# through poppler-utils' pdftoppm and pdftotext).
wendrel_add_test(tests_plot_vector ${CMAKE_CURRENT_LIST_DIR}/picture_files_test.cpp)
target_link_libraries(tests_plot_vector PRIVATE wendrel_plot_vector)
