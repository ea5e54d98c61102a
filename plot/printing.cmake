# The current printer's settings, the print setup and the texts of failed
# prints, without widgets.
add_library(wendrel_printing STATIC ${CMAKE_CURRENT_LIST_DIR}/printing.cpp)
target_link_libraries(wendrel_printing PUBLIC wendrel_app Qt6::Core)
