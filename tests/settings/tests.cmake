file(GLOB settings_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_carmanual_test(settings_tests GUI SOURCES ${settings_test_sources}
                   LIBS carwindows carplatform Qt6::Test)
