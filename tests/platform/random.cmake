add_executable(random_test ${CMAKE_CURRENT_SOURCE_DIR}/random_test.cpp)
target_link_libraries(random_test platform_random GTest::gtest_main Threads::Threads)
gtest_discover_tests(random_test PROPERTIES LABELS "threads")
