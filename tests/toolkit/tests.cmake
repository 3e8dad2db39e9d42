file(GLOB toolkit_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/toolkit/*.cpp)
varnquill_test(toolkit_tests SOURCES ${toolkit_test_sources} ${CMAKE_CURRENT_SOURCE_DIR}/common/DialogAnswerer.cpp
               LIBRARIES varnquill_toolkit)
