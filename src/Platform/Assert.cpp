#include "Platform/Assert.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace Platform {

namespace {

AssertionHandler& currentHandler()
{
    static AssertionHandler handler;
    return handler;
}

}  // namespace

AssertionHandler setAssertionHandler(AssertionHandler handler)
{
    return std::exchange(currentHandler(), std::move(handler));
}

void assertionFailed(const char* expression, const char* unit, const char* file, int line)
{
    AssertionFailure failure{expression, unit, file, line};
    if (const AssertionHandler& handler = currentHandler()) {
        handler(failure);
    }
    std::fprintf(stderr, "Assertion failed: %s, unit %s (%s:%d)\n", expression, unit, file, line);
    std::fflush(stderr);
    std::abort();
}

}  // namespace Platform
