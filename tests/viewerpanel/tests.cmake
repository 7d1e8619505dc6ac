# The page panels, their link actions, copying, hints, keys and the page font
# dialog, on the offscreen platform.
set(viewerpanel_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/archivepages_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/copysafety_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/linkclick_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pageevents_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pagefont_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panel_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panelfixture.h)
add_carmanual_test(viewerpanel_tests GUI SOURCES ${viewerpanel_test_sources}
                   LIBS carviewerpanel Qt6::Test)
