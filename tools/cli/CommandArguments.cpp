#include "CommandArguments.h"

#include <CLI/CLI.hpp>
#include <utility>

namespace Cli {

CommandArguments::LeftoverCheck CommandArguments::operands(std::size_t most)
{
    return [most](const std::string& arg, std::size_t index) -> std::optional<std::string> {
        if (arg.starts_with("--")) {
            return "unknown option '" + arg + "'";
        }
        if (index >= most) {
            return "unexpected argument '" + arg + "'";
        }
        return std::nullopt;
    };
}

CommandArguments::CommandArguments(const Command& self, LeftoverCheck check)
    : self_(self), check_(std::move(check)), app_(std::make_unique<CLI::App>("", self.name))
{
    // The dispatcher answers --help with the command's own help text.
    app_->set_help_flag();
    app_->allow_extras();
}

CommandArguments::~CommandArguments() = default;

void CommandArguments::option(const std::string& name, const std::string& missing,
                              std::function<void(const std::string&)> take)
{
    missing_[name] = [missing] { return missing; };
    app_->add_option_function<std::string>(name,
                                           [this, take = std::move(take)](const std::string& v) {
                                               catchUp();
                                               take(v);
                                           })
        ->trigger_on_parse();
}

void CommandArguments::option(const std::string& name, int count, MissingMessage missing,
                              std::function<void(const std::vector<std::string>&)> take)
{
    missing_[name] = std::move(missing);
    app_->add_option_function<std::vector<std::string>>(
            name,
            [this, take = std::move(take)](const std::vector<std::string>& values) {
                catchUp();
                take(values);
            })
        // One item of `count` strings: CLI11 takes them all, whatever they look like, as it
        // takes the value of a one-value option.
        ->type_size(count)
        ->expected(1)
        ->allow_extra_args(false)
        ->trigger_on_parse();
}

void CommandArguments::flag(const std::string& name, std::function<void()> take)
{
    app_->add_flag_callback(name,
                            [this, take = std::move(take)] {
                                catchUp();
                                take();
                            })
        ->trigger_on_parse()
        ->disable_flag_override();
}

void CommandArguments::flagWithOptionalValue(
    const std::string& name, std::function<bool(const std::string&)> accepts,
    std::function<void(const std::optional<std::string>&)> take)
{
    // A flag to CLI11, which would take any argument that does not look like an option: the
    // value is settled when the next option or the end is met, by then the argument right
    // after the flag, if no option took it, is the next left-over one.
    app_->add_flag_callback(name,
                            [this, accepts = std::move(accepts), take = std::move(take)] {
                                catchUp();
                                pending_ = Pending{leftoverCount(), accepts, take};
                            })
        ->trigger_on_parse()
        ->disable_flag_override();
}

std::size_t CommandArguments::leftoverCount() const
{
    return app_->remaining_size();
}

void CommandArguments::catchUp()
{
    const std::vector<std::string> all = app_->remaining();
    if (pending_) {
        const Pending pending = std::move(*pending_);
        pending_.reset();
        if (pending.at < all.size() && pending.accepts(all[pending.at])) {
            taken_.insert(pending.at);
            pending.take(all[pending.at]);
        } else {
            pending.take(std::nullopt);
        }
    }
    for (; checked_ < all.size(); ++checked_) {
        if (taken_.count(checked_) != 0) {
            continue;
        }
        if (check_) {
            if (std::optional<std::string> problem = check_(all[checked_], operands_)) {
                throw Problem{*problem};
            }
        }
        ++operands_;
    }
}

std::optional<int> CommandArguments::parse(const std::vector<std::string>& args, std::ostream& err)
{
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        try {
            app_->parse(reversed);
        } catch (const CLI::ArgumentMismatch& e) {
            // An option without its values ends the arguments; an earlier problem comes first.
            catchUp();
            const std::string text = e.what();
            const auto missing = missing_.find(text.substr(0, text.find(':')));
            throw Problem{missing != missing_.end() ? missing->second() : text};
        } catch (const CLI::ParseError& e) {
            catchUp();
            throw Problem{e.what()};
        }
        catchUp();
    } catch (const Problem& problem) {
        return usageError(self_, problem.message, err);
    }
    return std::nullopt;
}

std::vector<std::string> CommandArguments::leftovers() const
{
    const std::vector<std::string> all = app_->remaining();
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (taken_.count(i) == 0) {
            kept.push_back(all[i]);
        }
    }
    return kept;
}

}  // namespace Cli
