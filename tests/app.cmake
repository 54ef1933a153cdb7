# Opening files the desktop way: files dropped on the lists.
tolvane_add_test(TestFileDrop tolvane_ui)
