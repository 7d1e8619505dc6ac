# The packed demo manual: everything its description names is in the archive
# and decodes, and the skin generator gives the same bytes on every run.
if(TARGET demo_manual AND TARGET carshell_core)
  add_carmanual_test(demomanual_tests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/demomanual_test.cpp
    LIBS carshell_core Qt6::Gui)
  add_dependencies(demomanual_tests demo_manual skingen)
  target_compile_definitions(demomanual_tests PRIVATE
    CARMANUAL_DEMO_DIR="${CMAKE_BINARY_DIR}/demo"
    CARMANUAL_DEMO_SOURCE="${CMAKE_SOURCE_DIR}/demomanual"
    CARMANUAL_SKINGEN="$<TARGET_FILE:skingen>")
endif()
