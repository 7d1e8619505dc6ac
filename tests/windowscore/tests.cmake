file(GLOB windowscore_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_carmanual_test(windowscore_tests SOURCES ${windowscore_test_sources} LIBS carwindows_core)
