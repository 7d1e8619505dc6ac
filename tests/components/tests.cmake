# The text fields, the status line, the scale bar and the path boxes on the
# offscreen platform.
add_carmanual_test(components_tests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/componentstest.h
    ${CMAKE_CURRENT_LIST_DIR}/textmsg_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/statusline_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scalebar_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pathinputbox_test.cpp
  LIBS carcomponents Qt6::Test)
