# The setup program, built by the dist target first, installed and uninstalled silently in
# a Wine prefix of its own: the other suites' prefix keeps no trace of an installation, and
# this one starts as a fresh machine every run. Only under Wine: on Windows it would install
# onto the machine itself. Without makensis the dist step fails and says why.
if(CMAKE_CROSSCOMPILING)
  add_executable(installer_tests ${CMAKE_CURRENT_LIST_DIR}/InstallerTest.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/../e2e/Desktop.cpp ${CMAKE_CURRENT_LIST_DIR}/../common/MachineRegistry.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/../common/TestFiles.cpp)
  target_link_libraries(installer_tests PRIVATE varnquill_base varnquill_defines gtest gtest_main)
  target_compile_definitions(installer_tests PRIVATE "SETUP_EXE=\"Z:${VARNQUILL_SETUP_EXE}\"")
  add_test(NAME installer_dist COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target dist)
  set_tests_properties(installer_dist PROPERTIES FIXTURES_SETUP installer_dist TIMEOUT 300)
  add_test(NAME installer_tests
           COMMAND ${CMAKE_CURRENT_LIST_DIR}/run-in-fresh-prefix.sh ${CMAKE_BINARY_DIR}/wineprefix-installer
                   $<TARGET_FILE:installer_tests> --gtest_color=no)
  set_tests_properties(installer_tests PROPERTIES FIXTURES_REQUIRED installer_dist TIMEOUT 300)
endif()
# The portable zip, made by the same dist step, holds the starter collection beside the program.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME installer_portable_zip
           COMMAND ${CMAKE_COMMAND} -E tar tf ${CMAKE_BINARY_DIR}/dist/Varnquill-${PROJECT_VERSION}-portable.zip)
  set_tests_properties(installer_portable_zip PROPERTIES FIXTURES_REQUIRED installer_dist
                       PASS_REGULAR_EXPRESSION "Varnquill.exe.*Quotes.sigs")
endif()
