set(shellcore_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/commandrules_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/description_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/panelelements_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screenelements_test.cpp)
add_carmanual_test(shellcore_tests SOURCES ${shellcore_test_sources} LIBS carshell_core)
