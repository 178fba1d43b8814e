#include "JsonText.h"

#include <charconv>
#include <cstring>

#include "Platform/Utf.h"

namespace Cli::JsonText {

std::string utf8(std::wstring_view wide)
{
    return Platform::toUtf8(wide);
}

std::string bytes(std::string_view narrow)
{
    std::wstring wide;
    wide.reserve(narrow.size());
    for (const char c : narrow) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return utf8(wide);
}

namespace {

// A real as std::to_chars writes it: the shortest text that reads back as the same double.
std::string shortestReal(std::string_view dumped)
{
    double value = 0;
    std::from_chars(dumped.data(), dumped.data() + dumped.size(), value);
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string line(const Json& value)
{
    // Every text is valid UTF-8 (toUtf8 makes it so, the rest is ASCII): nothing is replaced.
    const std::string dumped = value.dump(-1, ' ', false, Json::error_handler_t::replace);
    std::string out;
    out.reserve(dumped.size());
    bool inString = false;
    for (std::size_t i = 0; i < dumped.size(); ++i) {
        const char c = dumped[i];
        if (inString) {
            if (c == '\\') {
                // Every backslash in a dumped string starts an escape of two characters or
                // more; nlohmann writes \b and \f short.
                const char next = dumped[++i];
                out += next == 'b' ? "\\u0008" : next == 'f' ? "\\u000c" : std::string{c, next};
            } else {
                inString = c != '"';
                out += c;
            }
        } else if (c == '"') {
            inString = true;
            out += c;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            std::size_t end = i;
            while (end < dumped.size() && dumped[end] != '\0' &&
                   std::strchr("+-.0123456789eE", dumped[end]) != nullptr) {
                ++end;
            }
            const std::string_view number(dumped.data() + i, end - i);
            out += number.find_first_of(".eE") == std::string_view::npos ? std::string(number)
                                                                         : shortestReal(number);
            i = end - 1;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace Cli::JsonText
