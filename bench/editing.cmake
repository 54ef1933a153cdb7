add_executable(bench_editing BenchEditing.cpp)
target_link_libraries(bench_editing PRIVATE tolvane_editing benchmark::benchmark)
target_include_directories(bench_editing PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/../tests/support)
tolvane_warnings(bench_editing)

add_executable(bench_history BenchHistory.cpp)
target_link_libraries(bench_history PRIVATE tolvane_editing benchmark::benchmark)
target_include_directories(bench_history PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/../tests/support)
tolvane_warnings(bench_history)
