file(GLOB ui_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
varnquill_test(ui_tests SOURCES ${ui_test_sources} ${CMAKE_CURRENT_LIST_DIR}/../common/DialogAnswerer.cpp
               LIBRARIES varnquill_ui)
# "Export..." is checked against the console program's own export.
add_dependencies(ui_tests vqsig)
if(CMAKE_CROSSCOMPILING)
  target_compile_definitions(ui_tests PRIVATE VQSIG_EXE="Z:$<TARGET_FILE:vqsig>")
else()
  target_compile_definitions(ui_tests PRIVATE VQSIG_EXE="$<TARGET_FILE:vqsig>")
endif()
