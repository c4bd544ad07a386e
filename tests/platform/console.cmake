# Every console test runs its subject in a child process of its own ("fork"),
# most of them on a pseudo-terminal.
add_executable(console_test ${CMAKE_CURRENT_SOURCE_DIR}/console_test.cpp)
target_link_libraries(console_test platform_console test_support GTest::gtest_main)
gtest_discover_tests(console_test PROPERTIES LABELS "fork")
