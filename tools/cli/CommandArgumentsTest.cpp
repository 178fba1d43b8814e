#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "CommandArguments.h"

namespace {

using Cli::CommandArguments;

struct Parsed {
    std::optional<int> usage;
    std::string err;
    std::string taken;  // what the handlers were given, in order
    std::vector<std::string> leftovers;
};

// A command with one operand, a checked option, an option of two values, a flag and a flag
// with an optional number.
Parsed parse(const std::vector<std::string>& args)
{
    static const Cli::Command self{"try", "", "", nullptr};
    Parsed r;
    CommandArguments arguments(self, CommandArguments::operands(1));
    arguments.option("--mode", "--mode needs a value", [&](const std::string& value) {
        if (value == "bad") {
            throw CommandArguments::Problem{"unknown mode " + value};
        }
        r.taken += "mode=" + value + ";";
    });
    arguments.option(
        "--span", 2, [] { return std::string("--span needs two values"); },
        [&](const std::vector<std::string>& values) {
            r.taken += "span=" + values[0] + "," + values[1] + ";";
        });
    arguments.flag("--quiet", [&] { r.taken += "quiet;"; });
    arguments.flagWithOptionalValue(
        "--arm",
        [](const std::string& next) { return !next.empty() && std::isdigit(next[0]) != 0; },
        [&](const std::optional<std::string>& value) {
            if (value == "0") {
                throw CommandArguments::Problem{"bad channel '0'"};
            }
            r.taken += "arm=" + value.value_or("none") + ";";
        });
    std::ostringstream err;
    r.usage = arguments.parse(args, err);
    r.err = err.str();
    if (!r.usage) {
        r.leftovers = arguments.leftovers();
    }
    return r;
}

TEST(CommandArguments, HandlersRunInArgumentOrderAndTheRestIsLeftOver)
{
    const struct {
        std::vector<std::string> args;
        std::string taken;
        std::vector<std::string> leftovers;
    } cases[] = {
        {{"a", "--mode", "x", "--quiet"}, "mode=x;quiet;", {"a"}},
        // A value is taken whatever it looks like.
        {{"--mode", "-q", "--span", "-1", "--quiet", "a"}, "mode=-q;span=-1,--quiet;", {"a"}},
        {{"--mode", "x", "--mode", "y"}, "mode=x;mode=y;", {}},
        // The optional value is the argument right after the flag, when it is accepted.
        {{"--arm", "5", "a"}, "arm=5;", {"a"}},
        {{"--arm", "a"}, "arm=none;", {"a"}},
        {{"a", "--arm"}, "arm=none;", {"a"}},
        {{"--arm", "--quiet", "5"}, "arm=none;quiet;", {"5"}},
        {{"--arm", "5", "--arm", "6"}, "arm=5;arm=6;", {}},
        {{"--arm", "--mode", "x", "7"}, "arm=none;mode=x;", {"7"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const Parsed r = parse(c.args);
        EXPECT_EQ(r.usage, std::nullopt) << r.err;
        EXPECT_EQ(r.taken, c.taken);
        EXPECT_EQ(r.leftovers, c.leftovers);
    }
}

TEST(CommandArguments, TheFirstProblemInTheArgumentsIsTheUsageError)
{
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"--x", "--mode", "bad"}, "unknown option '--x'"},
        {{"--mode", "bad", "--x"}, "unknown mode bad"},
        {{"a", "b", "--mode", "bad"}, "unexpected argument 'b'"},
        {{"a", "--mode"}, "--mode needs a value"},
        {{"b", "c", "--mode"}, "unexpected argument 'c'"},
        {{"a", "--span", "1"}, "--span needs two values"},
        {{"--arm", "0", "--x"}, "bad channel '0'"},
        {{"--x", "--arm", "0"}, "unknown option '--x'"},
        // A lone "--" is no end of the options here: it is an unknown option.
        {{"--arm", "--", "5"}, "unknown option '--'"},
        {{"a", "--", "--mode", "x"}, "unknown option '--'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        const Parsed r = parse(c.args);
        EXPECT_EQ(r.usage, Cli::kUsage);
        EXPECT_EQ(r.err,
                  "skyfirewright-cli try: " + c.message + "\nTry 'skyfirewright-cli help try'.\n");
    }
}

}  // namespace
