# The HTML engine's viewers on the offscreen platform, reading pages from an
# archive built by each test.
set(viewer_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/frameviewer_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/htmlviewer_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pageanimation_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/viewertest.h)
add_carmanual_test(viewer_tests GUI SOURCES ${viewer_test_sources}
                   LIBS carviewer Qt6::Test Qt6::PrintSupport)
