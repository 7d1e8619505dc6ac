set(windowscore_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/generalsettings_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settingsstore_test.cpp)
add_carmanual_test(windowscore_tests SOURCES ${windowscore_test_sources} LIBS carwindows_core)
