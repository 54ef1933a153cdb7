# Window tests: the real Form1 with the scripted dialog seam, offscreen.
tolvane_add_test(TestForm1 tolvane_ui)
tolvane_add_test(TestListSideView tolvane_ui)
tolvane_add_test(TestTypeAhead tolvane_ui)
tolvane_add_test(TestDialogs tolvane_ui)
tolvane_add_test(TestLoadCommands tolvane_ui)
tolvane_add_test(TestWindowCommands tolvane_ui)
tolvane_add_test(TestEntryView tolvane_ui)
# The window's parts on their own: the detail summary and fade, dragging, the marquee.
tolvane_add_test(TestDetailPanel tolvane_ui)
tolvane_add_test(TestDragForm tolvane_ui)
tolvane_add_test(TestMarquee tolvane_ui)
