# vqsig.exe, run as its own process with redirected standard streams; and the fortune file
# reader its import goes through.
file(GLOB vqsig_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
varnquill_test(vqsig_tests SOURCES ${vqsig_test_sources} ${CMAKE_CURRENT_LIST_DIR}/../common/MachineRegistry.cpp
               ${CMAKE_CURRENT_LIST_DIR}/../common/TestFiles.cpp
               LIBRARIES varnquill_base vqsig_commands)
add_dependencies(vqsig_tests vqsig)
if(CMAKE_CROSSCOMPILING)
  set(vqsig_exe_for_tests "Z:$<TARGET_FILE:vqsig>")
else()
  set(vqsig_exe_for_tests "$<TARGET_FILE:vqsig>")
endif()
target_compile_definitions(vqsig_tests PRIVATE VQSIG_EXE="${vqsig_exe_for_tests}")

# Debian's own fortune files against strfile (both Linux-side), so only in a cross build.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME vqsig_real_fortunes
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/real-fortunes.sh ${VARNQUILL_WINEPREFIX} $<TARGET_FILE:vqsig>)
  set_tests_properties(vqsig_real_fortunes PROPERTIES TIMEOUT 300)
endif()

# The starter collection the build made beside Varnquill.exe.
add_dependencies(vqsig_tests starter_collection)
if(CMAKE_CROSSCOMPILING)
  target_compile_definitions(vqsig_tests PRIVATE VARNQUILL_STARTER_COLLECTION="Z:${VARNQUILL_STARTER_COLLECTION}")
else()
  target_compile_definitions(vqsig_tests PRIVATE VARNQUILL_STARTER_COLLECTION="${VARNQUILL_STARTER_COLLECTION}")
endif()
