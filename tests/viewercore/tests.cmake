# The HTML engine's logic without Qt: URLs, character sets, page rewriting,
# frame sets, history and visited links.
file(GLOB viewercore_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_carmanual_test(viewercore_tests SOURCES ${viewercore_test_sources} LIBS carviewer_core)
