file(GLOB navigationcore_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_carmanual_test(navigationcore_tests SOURCES ${navigationcore_test_sources} LIBS carnavigation_core)
