# The main window, the file chooser, the program's binding of the windows to
# the logic, and the program itself.
add_library(wendrel_main_windows STATIC
  ${CMAKE_CURRENT_LIST_DIR}/chooser_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_chooser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_drops.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program.cpp)
set_target_properties(wendrel_main_windows PROPERTIES AUTOMOC ON)
target_link_libraries(wendrel_main_windows PUBLIC
  wendrel_fits wendrel_app wendrel_open_files wendrel_plot_window wendrel_info_windows wendrel_printing_windows
  wendrel_picture_windows Qt6::Widgets)

add_executable(wendrel ${PROJECT_SOURCE_DIR}/app/main.cpp)
target_link_libraries(wendrel PRIVATE wendrel_main_windows)
