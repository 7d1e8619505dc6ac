# The popup lists and their controller on the offscreen platform.
file(GLOB popups_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_carmanual_test(popups_tests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/popupstest.h
    ${popups_test_sources}
  LIBS carnavigation Qt6::Test)
