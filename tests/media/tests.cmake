set(media_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mediamodule_test.cpp)
add_carmanual_test(media_tests GUI SOURCES ${media_test_sources} LIBS carplatform Qt6::Test)
add_dependencies(media_tests carmanual-media)
target_compile_definitions(media_tests PRIVATE
  CARMANUAL_TEST_MEDIA_MODULE="$<TARGET_FILE:carmanual-media>")
