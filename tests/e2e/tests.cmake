# End-to-end tests: the built Varnquill.exe, copied into a fresh directory per test, started
# as its own process and driven from outside through window messages.
file(GLOB e2e_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
# The tray menu's tests start the stand-in media players beside them.
varnquill_test(e2e_tests SOURCES ${e2e_test_sources} ${CMAKE_CURRENT_LIST_DIR}/../player/FakePlayerProcess.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/../player/FakeMediaSessionRegistration.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/../common/MachineRegistry.cpp
                                 ${CMAKE_CURRENT_LIST_DIR}/../vqsig/ConsoleRun.cpp
               LIBRARIES varnquill_toolkit shell32)
# vqsig beside the program shares its settings and the order's place.
add_dependencies(e2e_tests Varnquill vqsig FakePlayer FakeMediaSession)
# Under Wine the Linux file system is drive Z:, and forward slashes serve as separators.
if(CMAKE_CROSSCOMPILING)
  set(varnquill_exe_for_tests "Z:$<TARGET_FILE:Varnquill>")
  set(vqsig_exe_for_e2e "Z:$<TARGET_FILE:vqsig>")
else()
  set(varnquill_exe_for_tests "$<TARGET_FILE:Varnquill>")
  set(vqsig_exe_for_e2e "$<TARGET_FILE:vqsig>")
endif()
target_compile_definitions(e2e_tests PRIVATE VARNQUILL_EXE="${varnquill_exe_for_tests}" VQSIG_EXE="${vqsig_exe_for_e2e}")

# The random pick's test of a database that may only be read uses one the file system itself
# refuses to open for writing; the tests run inside Wine, so it is made from outside.
if(CMAKE_CROSSCOMPILING AND CMAKE_HOST_UNIX)
  set(immutable_database_dir "${CMAKE_BINARY_DIR}/e2e-immutable")
  set(immutable_database_script "${CMAKE_CURRENT_LIST_DIR}/immutable-database.sh")
  add_test(NAME e2e_immutable_database_make COMMAND ${immutable_database_script} make ${immutable_database_dir})
  add_test(NAME e2e_immutable_database_remove COMMAND ${immutable_database_script} remove ${immutable_database_dir})
  set_tests_properties(e2e_immutable_database_make PROPERTIES FIXTURES_SETUP immutable_database)
  set_tests_properties(e2e_immutable_database_remove PROPERTIES FIXTURES_CLEANUP immutable_database)
  # Appended: the suite needs other fixtures too.
  set_property(TEST e2e_tests APPEND PROPERTY FIXTURES_REQUIRED immutable_database)
  set_tests_properties(e2e_tests PROPERTIES
                       ENVIRONMENT "VARNQUILL_IMMUTABLE_DATABASE=Z:${immutable_database_dir}/one.sigs")
endif()
