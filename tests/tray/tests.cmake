file(GLOB tray_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tray/*.cpp)
varnquill_test(tray_tests SOURCES ${tray_test_sources} LIBRARIES varnquill_tray)
