#pragma once

// The JSON that several subcommands print: nlohmann::json values, written one to a line.

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace Cli {

// An object's members keep the order they are added in.
using Json = nlohmann::ordered_json;

namespace JsonText {

// A wide text as the UTF-8 of a JSON string.
std::string utf8(std::wstring_view wide);

// A narrow (byte) text as the UTF-8 of a JSON string: each byte is the character
// U+0000..U+00FF.
std::string bytes(std::string_view narrow);

// The compact text of a value in the forms the program has always printed: reals in their
// shortest round-trip form without a trailing ".0" (12.5, 0, 1e-05), and the control
// characters other than \n, \r and \t as \u00XX. Non-finite reals are null.
std::string line(const Json& value);

}  // namespace JsonText

}  // namespace Cli
