# The popup lists and their controller on the offscreen platform.
set(popups_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/controlpopupwindow_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/popupcommand_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/popupwindow_test.cpp)
add_carmanual_test(popups_tests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/popupstest.h
    ${popups_test_sources}
  LIBS carnavigation Qt6::Test)
