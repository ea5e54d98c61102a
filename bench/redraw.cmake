# Redraw benchmark: envelope drawing against every-segment drawing.
if(benchmark_FOUND)
  add_executable(redraw_bench ${CMAKE_CURRENT_LIST_DIR}/redraw_bench.cpp)
  target_link_libraries(redraw_bench PRIVATE wendrel_plot_image benchmark::benchmark)
else()
  message(STATUS "redraw_bench not built: it needs Google Benchmark")
endif()
