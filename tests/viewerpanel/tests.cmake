# The page panels, their link actions, copying, hints, keys and the page font
# dialog, on the offscreen platform.
file(GLOB viewerpanel_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/*.h)
add_carmanual_test(viewerpanel_tests GUI SOURCES ${viewerpanel_test_sources}
                   LIBS carviewerpanel Qt6::Test)
