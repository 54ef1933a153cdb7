# Store tests: the record, the reader and the writer, without a window.
tolvane_add_test(TestPatchEntry tolvane_store)
tolvane_add_test(TestPatchSetReader tolvane_store)
tolvane_add_test(TestReaderLimits tolvane_store)
tolvane_add_test(TestLoadNotes tolvane_store)
tolvane_add_test(TestPatchSetWriter tolvane_store)
