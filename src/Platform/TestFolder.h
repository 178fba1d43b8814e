#pragma once

// For tests only: a fresh folder under the test's temporary folder, removed afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "Platform/Utf.h"

namespace Platform {

class TestFolder {
public:
    // `suffix` tells apart several folders of one test.
    explicit TestFolder(const std::string& suffix = "")
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "sky-" + std::to_string(::getpid());
        if (test) {
            name += std::string("-") + test->test_suite_name() + "-" + test->name();
        }
        if (!suffix.empty()) {
            name += "-" + suffix;
        }
        for (char& c : name) {
            if (c == '/') {
                c = '_';
            }
        }
        root_ = std::filesystem::path(::testing::TempDir()) / name;
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
        std::filesystem::create_directories(root_);
    }
    ~TestFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // The folder as the program names folders: a wide string ending in "/".
    std::wstring path() const { return fromUtf8(root_.string()) + L"/"; }
    std::wstring path(const std::string& relative) const
    {
        return fromUtf8((root_ / relative).string());
    }

    void writeBytes(const std::string& relative, const std::string& bytes) const
    {
        const std::filesystem::path file = root_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::string readBytes(const std::string& relative) const
    {
        std::ifstream in(root_ / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool exists(const std::string& relative) const
    {
        return std::filesystem::exists(root_ / relative);
    }
    // The names in the folder (not recursive), sorted.
    std::vector<std::string> names(const std::string& relative = ".") const
    {
        std::vector<std::string> result;
        for (const auto& entry : std::filesystem::directory_iterator(root_ / relative)) {
            result.push_back(entry.path().filename().string());
        }
        std::sort(result.begin(), result.end());
        return result;
    }

private:
    std::filesystem::path root_;
};

// Bytes of UTF-16LE text, for building test files.
inline std::string utf16le(std::u16string_view text)
{
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

}  // namespace Platform
