# The packed demo manual: everything its description names is in the archive
# and decodes, its pages, contents tree and offered files hold together, and
# the generators give the same bytes on every run.
if(TARGET demo_manual AND TARGET carshell_core)
  add_carmanual_test(demomanual_tests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/demomanual_test.cpp
    LIBS carshell_core Qt6::Gui)
  add_dependencies(demomanual_tests demo_manual skingen)
  target_compile_definitions(demomanual_tests PRIVATE
    CARMANUAL_DEMO_DIR="${CMAKE_BINARY_DIR}/demo"
    CARMANUAL_DEMO_SOURCE="${CMAKE_SOURCE_DIR}/demomanual"
    CARMANUAL_SKINGEN="$<TARGET_FILE:skingen>")

  # libarchive's header is archive.h, like the resource archive's: its reader
  # is built apart, without the project's include folders.
  find_package(LibArchive REQUIRED)
  add_library(demo_libarchive_reader STATIC ${CMAKE_CURRENT_LIST_DIR}/libarchivereader.cpp)
  target_link_libraries(demo_libarchive_reader PRIVATE LibArchive::LibArchive)
  add_carmanual_test(demopages_tests GUI
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/demopages_test.cpp
    LIBS carshell_core Qt6::Gui demo_libarchive_reader)
  target_include_directories(demopages_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
  add_dependencies(demopages_tests demo_manual skingen dattool)
  target_compile_definitions(demopages_tests PRIVATE
    CARMANUAL_DEMO_DIR="${CMAKE_BINARY_DIR}/demo"
    CARMANUAL_DEMO_STAGING="${CMAKE_BINARY_DIR}/demomanual-staging"
    CARMANUAL_DEMO_SOURCE="${CMAKE_SOURCE_DIR}/demomanual"
    CARMANUAL_SKINGEN="$<TARGET_FILE:skingen>"
    CARMANUAL_DATTOOL="$<TARGET_FILE:dattool>")
endif()
