#pragma once

#include <functional>
#include <string>

// Internal invariants (value ranges of a timecode, emulator addresses, unique names) are
// programming errors, not user errors: callers validate input before it gets here. A failed
// invariant is reported with the expression text and the unit that checks it.
//
// The default handler prints "Assertion failed: <expression>, unit <unit> (<file>:<line>)"
// to standard error and aborts. Tests install a handler that throws, so a test can check
// which invariant fired without killing the test process. A handler must not return.

namespace Platform {

struct AssertionFailure {
    std::string expression;
    std::string unit;
    std::string file;
    int line = 0;
};

using AssertionHandler = std::function<void(const AssertionFailure&)>;

// Installs a handler and returns the previous one; an empty handler restores the default.
AssertionHandler setAssertionHandler(AssertionHandler handler);

[[noreturn]] void assertionFailed(const char* expression, const char* unit, const char* file,
                                  int line);

}  // namespace Platform

// SKY_ASSERT(expression, unit): unit is the short name of the checking unit, e.g. "SMPTE".
#define SKY_ASSERT(expression, unit)                                            \
    do {                                                                        \
        if (!(expression)) {                                                    \
            ::Platform::assertionFailed(#expression, unit, __FILE__, __LINE__); \
        }                                                                       \
    } while (false)

// The same check with the reported text given explicitly, for checks whose text names the
// caller's argument rather than the local expression.
#define SKY_ASSERT_TEXT(expression, text, unit)                          \
    do {                                                                 \
        if (!(expression)) {                                             \
            ::Platform::assertionFailed(text, unit, __FILE__, __LINE__); \
        }                                                                \
    } while (false)
