#pragma once

// Shared by the in-process tests of the subcommands: running a command line and reading the
// files it wrote.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "CommandLine.h"

namespace CliTest {

struct Run {
    int code;
    std::string out;
    std::string err;
};

inline Run run(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = Cli::dispatch(args, out, err);
    return {code, out.str(), err.str()};
}

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A file of the source tree, from tools/cli.
inline std::string sourceFile(const std::string& relative)
{
    return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / relative)
        .string();
}

}  // namespace CliTest
