# The print setup with a scripted dialog and printer list, page placement and
# the texts of failed prints.
wendrel_add_test(tests_printing_logic ${CMAKE_CURRENT_LIST_DIR}/printing_test.cpp)
target_link_libraries(tests_printing_logic PRIVATE wendrel_printing)
