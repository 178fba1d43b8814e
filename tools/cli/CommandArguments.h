#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "CommandLine.h"

namespace CLI {
class App;
}

namespace Cli {

// A subcommand's arguments, read with CLI11 the way the program has always read them: each
// option's handler runs as soon as the option is met, so the first problem in the arguments is
// the one reported; everything no option takes (operands, unknown options, a lone "--") is left
// over in its order for the command to judge. CLI11 prints nothing of its own: a usage error
// goes through usageError() with the command's message.
class CommandArguments {
public:
    // Thrown by a handler to end the parse with this usage error.
    struct Problem {
        std::string message;
    };

    // What is wrong with a left-over argument, given how many left-over arguments the command
    // took before it; nothing when the command takes it.
    using LeftoverCheck =
        std::function<std::optional<std::string>(const std::string& arg, std::size_t index)>;
    // The usage message for an option that ends the arguments before its values.
    using MissingMessage = std::function<std::string()>;

    // Left-over arguments starting with "--" are unknown options; the others are operands, of
    // which there may be at most `most`.
    static LeftoverCheck operands(std::size_t most = SIZE_MAX);

    CommandArguments(const Command& self, LeftoverCheck check);
    ~CommandArguments();
    CommandArguments(const CommandArguments&) = delete;
    CommandArguments& operator=(const CommandArguments&) = delete;

    // An option with one value, which may start with '-'.
    void option(const std::string& name, const std::string& missing,
                std::function<void(const std::string&)> take);
    // An option with `count` values.
    void option(const std::string& name, int count, MissingMessage missing,
                std::function<void(const std::vector<std::string>&)> take);
    void flag(const std::string& name, std::function<void()> take);
    // A flag with an optional value: the argument right after it when `accepts` says so, else
    // that argument stays a left-over one (take gets nothing).
    void flagWithOptionalValue(const std::string& name,
                               std::function<bool(const std::string&)> accepts,
                               std::function<void(const std::optional<std::string>&)> take);

    // Parses `args`; kUsage once a usage error is reported, else nothing.
    std::optional<int> parse(const std::vector<std::string>& args, std::ostream& err);

    // The left-over arguments the command took, in order.
    std::vector<std::string> leftovers() const;

private:
    struct Pending {
        std::size_t at;  // the index the argument right after the flag gets among left-overs
        std::function<bool(const std::string&)> accepts;
        std::function<void(const std::optional<std::string>&)> take;
    };

    // Runs before each handler and at the end: settles a flag's optional value and checks the
    // left-over arguments met since, in their order.
    void catchUp();
    std::size_t leftoverCount() const;

    const Command& self_;
    LeftoverCheck check_;
    std::unique_ptr<CLI::App> app_;
    std::map<std::string, MissingMessage> missing_;
    std::optional<Pending> pending_;
    std::set<std::size_t> taken_;  // left-over indices that were a flag's value
    std::size_t checked_ = 0;
    std::size_t operands_ = 0;
};

}  // namespace Cli
