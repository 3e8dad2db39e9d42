file(GLOB settings_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/settings/*.cpp)
varnquill_test(settings_tests SOURCES ${settings_test_sources} ${CMAKE_CURRENT_SOURCE_DIR}/common/TestFiles.cpp
               LIBRARIES varnquill_settings)
