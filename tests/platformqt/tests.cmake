# The operating-system seams built on Qt that need an application object.
file(GLOB platformqt_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_carmanual_test(platformqt_tests GUI SOURCES ${platformqt_test_sources} LIBS carplatform Qt6::Test)
