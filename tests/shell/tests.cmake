# The skinned main window on the offscreen platform, over a small manual
# written by the tests.
add_carmanual_test(shell_tests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/manualfixture.h
    ${CMAKE_CURRENT_LIST_DIR}/mainform_test.cpp
  LIBS carshell Qt6::Test)
