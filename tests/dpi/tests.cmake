# The main window at each density, each in a process of its own: the suite starts itself
# again with the per-user LogPixels set, and restores it, so the suites after it run at 96.
file(GLOB dpi_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
varnquill_test(dpi_tests SOURCES ${dpi_test_sources} ${CMAKE_CURRENT_LIST_DIR}/../common/DialogAnswerer.cpp
               ${CMAKE_CURRENT_LIST_DIR}/../common/ScaledProcess.cpp ${CMAKE_CURRENT_LIST_DIR}/../e2e/Desktop.cpp
               LIBRARIES varnquill_ui)
