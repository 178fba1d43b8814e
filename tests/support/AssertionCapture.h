#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Platform/Assert.h"

// Thrown by the tests' assertion handler (installed by the test main).
struct FailedInvariant {
    Platform::AssertionFailure failure;
};

// Expects `statement` to fail the invariant whose text is `expressionText` in `unitName`.
#define EXPECT_INVARIANT(statement, expressionText, unitName)                           \
    do {                                                                                \
        bool fired_ = false;                                                            \
        try {                                                                           \
            statement;                                                                  \
        } catch (const FailedInvariant& e) {                                            \
            fired_ = true;                                                              \
            EXPECT_EQ(e.failure.expression, std::string(expressionText));               \
            EXPECT_EQ(e.failure.unit, std::string(unitName));                           \
        }                                                                               \
        EXPECT_TRUE(fired_) << "expected invariant " << (expressionText) << " to fail"; \
    } while (false)
