# The operating-system seams built on Qt that need an application object.
set(platformqt_test_sources
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/quitsignals_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shellopen_test.cpp)
add_carmanual_test(platformqt_tests GUI SOURCES ${platformqt_test_sources} LIBS carplatform Qt6::Test)
