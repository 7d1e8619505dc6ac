set(navigationcore_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/contentstree_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/historychapters_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/htmlfavorite_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/treechoice_test.cpp)
add_carmanual_test(navigationcore_tests SOURCES ${navigationcore_test_sources} LIBS carnavigation_core)
