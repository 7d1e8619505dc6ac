# The thread timer and the animated effects; the blend itself needs no
# window system, the rest runs on the offscreen platform.
add_carmanual_test(effects_tests GUI
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/main.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pump.h
    ${CMAKE_CURRENT_LIST_DIR}/blendbitmaps_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/supertimer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effbtncar_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effcar_test.cpp
  LIBS carwindows carcomponents Qt6::Widgets)
