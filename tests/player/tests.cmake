# The stand-in media player: a small program of its own that the now-playing tests and the
# tray menu's end-to-end tests start, under its own name or copied under a player's. It is a
# tool for tests, not a test itself.
add_executable(FakePlayer ${CMAKE_CURRENT_SOURCE_DIR}/player/FakePlayer.cpp)
target_link_libraries(FakePlayer PRIVATE varnquill_toolkit varnquill_defines)

# The stand-in system media session: a DLL that Wine loads for the session manager's class
# while a test has it registered.
add_library(FakeMediaSession SHARED ${CMAKE_CURRENT_SOURCE_DIR}/player/FakeMediaSessionDll.cpp)
target_link_libraries(FakeMediaSession PRIVATE varnquill_defines)
set_target_properties(FakeMediaSession PROPERTIES PREFIX "")

varnquill_test(player_tests
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/player/NowPlayingTest.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/player/NowPlayingSourcesTest.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/player/FakePlayerProcess.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/player/FakeMediaSessionRegistration.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/engine/EngineTestFiles.cpp
          ${CMAKE_CURRENT_SOURCE_DIR}/common/TestFiles.cpp
  LIBRARIES varnquill_players varnquill_engine advapi32)
add_dependencies(player_tests FakePlayer FakeMediaSession)
