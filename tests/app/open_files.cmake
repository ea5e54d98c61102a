# Batches of files loaded through the reader, without windows.
wendrel_add_test(tests_open_files ${CMAKE_CURRENT_LIST_DIR}/open_files_test.cpp)
target_link_libraries(tests_open_files PRIVATE wendrel_open_files wendrel_fits_writer)
