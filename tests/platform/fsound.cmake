# The sound library: its units alone, its calls on the silent output, and the
# library against real ALSA through the test's own ALSA configuration.
add_executable(fsound_unit_test ${CMAKE_CURRENT_SOURCE_DIR}/fsound_pacer_test.cpp
                                ${CMAKE_CURRENT_SOURCE_DIR}/fsound_device_test.cpp)
target_link_libraries(fsound_unit_test fsound GTest::gtest_main)
gtest_discover_tests(fsound_unit_test)

add_executable(fsound_nosound_test ${CMAKE_CURRENT_SOURCE_DIR}/fsound_nosound_test.cpp)
target_link_libraries(fsound_nosound_test fsound GTest::gtest_main)
gtest_discover_tests(fsound_nosound_test PROPERTIES LABELS "threads")

add_library(fsound_alsa_sandbox STATIC ${CMAKE_CURRENT_SOURCE_DIR}/fsound_alsa_sandbox.cpp)
target_link_libraries(fsound_alsa_sandbox PUBLIC fsound test_support)

add_executable(fsound_alsa_test ${CMAKE_CURRENT_SOURCE_DIR}/fsound_alsa_test.cpp)
target_link_libraries(fsound_alsa_test fsound_alsa_sandbox GTest::gtest_main)
gtest_discover_tests(fsound_alsa_test PROPERTIES LABELS "threads")

add_executable(fsound_threads_test ${CMAKE_CURRENT_SOURCE_DIR}/fsound_threads_test.cpp)
target_link_libraries(fsound_threads_test fsound_alsa_sandbox GTest::gtest_main)
gtest_discover_tests(fsound_threads_test PROPERTIES LABELS "threads")
