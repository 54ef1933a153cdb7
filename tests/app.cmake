# Opening files the desktop way: the command line, against the real window and as the built
# program, and files dropped on the lists.
tolvane_add_test(TestCommandLine tolvane_commandline tolvane_window_test)
add_dependencies(TestCommandLine tolvane)
target_compile_definitions(TestCommandLine PRIVATE TOLVANE_PROGRAM="$<TARGET_FILE:tolvane>"
                                                   TOLVANE_VERSION="${PROJECT_VERSION}")
tolvane_add_test(TestFileDrop tolvane_window_test)
