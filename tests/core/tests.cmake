file(GLOB core_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_carmanual_test(core_tests SOURCES ${core_test_sources} LIBS cararchive)

# The archive tool against its command-line contract.
add_test(NAME dattool_contract
  COMMAND ${CMAKE_COMMAND} -DDATTOOL=$<TARGET_FILE:dattool>
          -DWORK=${CMAKE_CURRENT_BINARY_DIR}/dattool_contract
          -P ${CMAKE_CURRENT_LIST_DIR}/dattool_contract.cmake)
