#pragma once

// The JSON text that several subcommands print. Header-only: the command object library
// collects only the subcommands' own sources.

#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "Platform/Utf.h"

namespace Cli::Json {

// A JSON string of UTF-8 text, escaped.
inline std::string quoteUtf8(std::string_view utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20) {
                    static const char* hex = "0123456789abcdef";
                    out += "\\u00";
                    out += hex[byte >> 4];
                    out += hex[byte & 0xF];
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

// A wide text as a JSON string.
inline std::string text(std::wstring_view wide)
{
    return quoteUtf8(Platform::toUtf8(wide));
}

// A narrow (byte) text as a JSON string: each byte is the character U+0000..U+00FF.
inline std::string bytes(std::string_view narrow)
{
    std::wstring wide;
    wide.reserve(narrow.size());
    for (const char c : narrow) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return text(wide);
}

inline std::string number(int64_t value)
{
    return std::to_string(value);
}

// The shortest text that reads back as the same double.
inline std::string real(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

inline std::string boolean(bool value)
{
    return value ? "true" : "false";
}

// An array of values that are JSON already.
inline std::string array(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out += (i == 0 ? "" : ",") + items[i];
    }
    return out + "]";
}

// An object built member by member, in the order they are added.
class Object {
public:
    Object& add(std::string_view name, const std::string& json)
    {
        body_ += (body_.empty() ? "" : ",") + quoteUtf8(name) + ":" + json;
        return *this;
    }
    std::string str() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

}  // namespace Cli::Json
