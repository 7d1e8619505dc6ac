set(core_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/ansi_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/archive_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/archivewriter_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/paths_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/resources_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/syntax_test.cpp)
add_carmanual_test(core_tests SOURCES ${core_test_sources} LIBS cararchive)

# The archive tool against its command-line contract.
add_test(NAME dattool_contract
  COMMAND ${CMAKE_COMMAND} -DDATTOOL=$<TARGET_FILE:dattool>
          -DWORK=${CMAKE_CURRENT_BINARY_DIR}/dattool_contract
          -P ${CMAKE_CURRENT_LIST_DIR}/dattool_contract.cmake)
