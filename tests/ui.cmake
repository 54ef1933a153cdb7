# Window tests: the real Form1 with the scripted dialog seam, offscreen, each test class built on
# WindowTest, whose harness slots are compiled once here.
add_library(tolvane_window_test STATIC support/WindowFixture.cpp support/WindowFixture.h)
target_link_libraries(tolvane_window_test PUBLIC tolvane_ui Qt6::Test)
target_include_directories(tolvane_window_test PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/support)
tolvane_warnings(tolvane_window_test)
tolvane_add_test(TestForm1 tolvane_window_test)
tolvane_add_test(TestLoadCommands tolvane_window_test)
tolvane_add_test(TestWindowCommands tolvane_window_test)
tolvane_add_test(TestListLines tolvane_window_test)
tolvane_add_test(TestListSideView tolvane_ui)
tolvane_add_test(TestEntryView tolvane_window_test)
add_test(NAME TestEntryViewAtScale2 COMMAND TestEntryView)
set_tests_properties(TestEntryViewAtScale2 PROPERTIES
                     ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")
tolvane_add_test(TestTypeAhead tolvane_ui)
tolvane_add_test(TestDialogs tolvane_ui)
# The window's parts on their own: the detail summary and fade, dragging, the marquee.
tolvane_add_test(TestDetailPanel tolvane_ui)
tolvane_add_test(TestDragForm tolvane_ui)
tolvane_add_test(TestMarquee tolvane_ui)
# The strip again on a screen of ratio 2, whose surfaces are twice as dense and whose text
# steps two device pixels at a time.
add_test(NAME TestMarqueeAtScale2 COMMAND TestMarquee)
set_tests_properties(TestMarqueeAtScale2 PROPERTIES
                     ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")
