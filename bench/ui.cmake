add_executable(bench_window BenchWindow.cpp MaximalSet.h)
target_link_libraries(bench_window PRIVATE tolvane_ui benchmark::benchmark)
tolvane_warnings(bench_window)
