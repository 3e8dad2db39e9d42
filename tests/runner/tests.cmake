# The test runner itself: a test program that crashes or ends before its tests are over must
# fail, at once. Only in the cross build: it checks the scripts that run the tests under Wine.
if(CMAKE_CROSSCOMPILING)
  add_executable(runner_faults ${CMAKE_CURRENT_LIST_DIR}/Faults.cpp)
  target_link_libraries(runner_faults PRIVATE gtest varnquill_defines)
  add_test(NAME runner_faults
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/faults-fail.sh ${VARNQUILL_WINEPREFIX} $<TARGET_FILE:runner_faults>)
  set_tests_properties(runner_faults PROPERTIES TIMEOUT 120)
endif()
