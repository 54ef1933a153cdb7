add_executable(bench_window BenchWindow.cpp MaximalSet.h)
target_link_libraries(bench_window PRIVATE tolvane_ui benchmark::benchmark Qt6::Test)
target_include_directories(bench_window PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/../tests/support)
tolvane_warnings(bench_window)
