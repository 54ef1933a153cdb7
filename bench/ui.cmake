add_executable(bench_window BenchWindow.cpp MaximalSet.h WindowRigs.h)
target_link_libraries(bench_window PRIVATE tolvane_ui benchmark::benchmark Qt6::Test)
target_include_directories(bench_window PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/../tests/support)
tolvane_warnings(bench_window)

add_executable(bench_differences BenchDifferences.cpp MaximalSet.h WindowRigs.h)
target_link_libraries(bench_differences PRIVATE tolvane_ui benchmark::benchmark Qt6::Test)
target_include_directories(bench_differences PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/../tests/support)
tolvane_warnings(bench_differences)
