#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Platform/Log.h"

namespace Platform {
namespace {

TEST(Log, GoesToStandardErrorAsUtf8ByDefault)
{
    ::testing::internal::CaptureStdout();
    ::testing::internal::CaptureStderr();
    logLine(L"caf\u00E9 \U0001F386");
    const std::string err = ::testing::internal::GetCapturedStderr();
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(err, "caf\xC3\xA9 \xF0\x9F\x8E\x86\n");
    EXPECT_EQ(out, "");
}

TEST(Log, ASinkTakesTheLinesUntilRemoved)
{
    std::vector<std::wstring> lines;
    const LogSink previous =
        setLogSink([&lines](const std::wstring& line) { lines.push_back(line); });
    EXPECT_FALSE(previous);
    ::testing::internal::CaptureStderr();
    logLine(L"one");
    logLine(L"two");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"one", L"two"}));

    EXPECT_TRUE(setLogSink(nullptr));
    ::testing::internal::CaptureStderr();
    logLine(L"three");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "three\n");
    EXPECT_EQ(lines.size(), 2u);
}

}  // namespace
}  // namespace Platform
