# Loading a batch of files (command line, drops) through the FITS reader.
add_library(wendrel_open_files STATIC ${CMAKE_CURRENT_LIST_DIR}/open_files.cpp)
target_link_libraries(wendrel_open_files PUBLIC wendrel_fits)
