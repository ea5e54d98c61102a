# Printing from the plot window: the current printer, Qt's print dialog as the
# printer dialog, and the File menu's "Print Setup ..." and "Print".
add_library(wendrel_printing_windows STATIC
  ${CMAKE_CURRENT_LIST_DIR}/current_printer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/printer_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_printing.cpp)
target_link_libraries(wendrel_printing_windows PUBLIC wendrel_printing wendrel_plot_window Qt6::PrintSupport)
