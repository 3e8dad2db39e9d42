file(GLOB ui_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
varnquill_test(ui_tests SOURCES ${ui_test_sources} ${CMAKE_CURRENT_LIST_DIR}/../common/DialogAnswerer.cpp
               LIBRARIES varnquill_ui)
