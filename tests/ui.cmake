# Window tests: the real Form1 with the scripted dialog seam, offscreen.
tolvane_add_test(TestForm1 tolvane_ui)
tolvane_add_test(TestListSideView tolvane_ui)
tolvane_add_test(TestLoadCommands tolvane_ui)
tolvane_add_test(TestWindowCommands tolvane_ui)
