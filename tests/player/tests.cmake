# The stand-in media player: a small program of its own that the now-playing tests and the
# tray menu's end-to-end tests start. It is a tool for tests, not a test itself.
add_executable(FakePlayer ${CMAKE_CURRENT_SOURCE_DIR}/player/FakePlayer.cpp)
target_link_libraries(FakePlayer PRIVATE varnquill_toolkit varnquill_defines)

varnquill_test(player_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/player/NowPlayingTest.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/player/FakePlayerProcess.cpp
  LIBRARIES varnquill_engine)
add_dependencies(player_tests FakePlayer)
