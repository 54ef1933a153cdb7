add_executable(bench_patchset_files BenchPatchSetFiles.cpp MaximalSet.h)
target_link_libraries(bench_patchset_files PRIVATE tolvane_store benchmark::benchmark)
target_include_directories(bench_patchset_files PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/../tests/support)
tolvane_warnings(bench_patchset_files)
