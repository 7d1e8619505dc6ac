# The HTML engine's viewers on the offscreen platform, reading pages from an
# archive built by each test.
file(GLOB viewer_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp
     ${CMAKE_CURRENT_LIST_DIR}/*.h)
add_carmanual_test(viewer_tests GUI SOURCES ${viewer_test_sources}
                   LIBS carviewer Qt6::Test Qt6::PrintSupport)
