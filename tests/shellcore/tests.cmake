file(GLOB shellcore_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_carmanual_test(shellcore_tests SOURCES ${shellcore_test_sources} LIBS carshell_core)
