# The contents tree widget on the offscreen platform: its model, selection
# and following the page panel, the pending page, chapter steps, the choice
# between the main and the alternate tree.
if(TARGET carnavigation)
  add_carmanual_test(contentstree_tests GUI
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/main.cpp
      ${CMAKE_CURRENT_LIST_DIR}/contentsmodel_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/treeviews_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/treechoice_test.cpp
      ${CMAKE_CURRENT_LIST_DIR}/treefixture.h
    LIBS carnavigation Qt6::Test)
endif()
