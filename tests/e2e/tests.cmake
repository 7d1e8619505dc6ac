# End-to-end tests of the real program on the demo manual: shell scripts that
# start <build>/demo/carmanual from a private copy, under a private Xvfb
# (window shape, second instance, exit button, missing manual, pages and
# tree, the termination signal) and under a
# headless weston (the shape through transparency). They need the tools that
# scripts/setup-debian.sh installs; a missing tool or platform makes a test
# SKIP (status 77). Screenshots are kept in <build>/tests/e2e-artifacts/.
if(TARGET carmanual AND TARGET demo_manual)
  set(carmanual_e2e_args $<TARGET_FILE_DIR:carmanual> ${CMAKE_SOURCE_DIR}/demomanual/Struct.txt
                         ${CMAKE_BINARY_DIR}/demomanual-staging)
  foreach(script x11_window_shape x11_second_instance x11_exit_button x11_missing_archive
                 x11_pages_and_tree x11_terminate_signal x11_bookmark_survives_exit
                 x11_document_window_closes
                 wayland_window_shape)
    add_test(NAME e2e_${script} COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/${script}.sh
                                        ${carmanual_e2e_args})
    set_tests_properties(e2e_${script} PROPERTIES
      TIMEOUT 60
      SKIP_RETURN_CODE 77
      LABELS e2e
      ENVIRONMENT "CARMANUAL_E2E_ARTIFACTS=${CMAKE_BINARY_DIR}/tests/e2e-artifacts")
  endforeach()
endif()
