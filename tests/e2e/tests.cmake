# End-to-end tests: the built Varnquill.exe, copied into a fresh directory per test, started
# as its own process and driven from outside through window messages.
file(GLOB e2e_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
# The tray menu's tests start the stand-in media player beside them.
varnquill_test(e2e_tests SOURCES ${e2e_test_sources} ${CMAKE_CURRENT_LIST_DIR}/../player/FakePlayerProcess.cpp
               LIBRARIES varnquill_toolkit shell32)
add_dependencies(e2e_tests Varnquill FakePlayer)
# Under Wine the Linux file system is drive Z:, and forward slashes serve as separators.
if(CMAKE_CROSSCOMPILING)
  set(varnquill_exe_for_tests "Z:$<TARGET_FILE:Varnquill>")
else()
  set(varnquill_exe_for_tests "$<TARGET_FILE:Varnquill>")
endif()
target_compile_definitions(e2e_tests PRIVATE VARNQUILL_EXE="${varnquill_exe_for_tests}")
