// Test main for tests that need the toolkit: starts it once, then runs the tests.
#include <gtest/gtest.h>

#include "platform/form.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!::testing::GTEST_FLAG(list_tests)) fe::init(argc, argv);  // listing needs no display
    return RUN_ALL_TESTS();
}
