# Editing tests: the commands on plain tables and fake side views, without a window.
tolvane_add_test(TestSideRefresh tolvane_editing)
tolvane_add_test(TestCopyIntoDest tolvane_editing)
tolvane_add_test(TestMoveEntries tolvane_editing)
tolvane_add_test(TestNewSet tolvane_editing)
tolvane_add_test(TestEditHistory tolvane_editing)
tolvane_add_test(TestHistoryTally tolvane_editing)
tolvane_add_test(TestEntryComparison tolvane_editing)
tolvane_add_test(TestDifferences tolvane_editing)
