#include <gtest/gtest.h>

#include "AssertionCapture.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    Platform::setAssertionHandler(
        [](const Platform::AssertionFailure& failure) { throw FailedInvariant{failure}; });
    return RUN_ALL_TESTS();
}
