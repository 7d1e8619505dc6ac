set(settings_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/formoptions_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qtsettingsstore_test.cpp)
add_carmanual_test(settings_tests GUI SOURCES ${settings_test_sources}
                   LIBS carwindows carplatform Qt6::Test)
