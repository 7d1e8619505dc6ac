# The HTML engine's logic without Qt: URLs, character sets, page rewriting,
# frame sets, history and visited links.
set(viewercore_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/frameset_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/history_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/htmlcharset_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/htmlprepare_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/htmlresource_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/htmlurl_test.cpp)
add_carmanual_test(viewercore_tests SOURCES ${viewercore_test_sources} LIBS carviewer_core)
