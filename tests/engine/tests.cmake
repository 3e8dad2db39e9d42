file(GLOB engine_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/engine/*.cpp)
varnquill_test(engine_tests SOURCES ${engine_test_sources} ${CMAKE_CURRENT_SOURCE_DIR}/common/TestFiles.cpp
               LIBRARIES varnquill_engine)
