#include "Project/CueCommand.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string_view>
#include <vector>

namespace Project {

namespace {

constexpr uint32_t kTypeShift = 24;
constexpr uint32_t kLow24 = 0x00FFFFFF;
constexpr uint32_t kReminderWord = 0x02FFFFFF;
constexpr uint32_t kUnknownWord = 0xFFFFFFFF;

// A DMX value channel holds 16 bits; a text channel beyond that would wrap to another one.
constexpr long long kMaxChannel = 0xFFFF;

enum class NumberError { None, Invalid, OutOfRange };

struct NumberResult {
    long long value = 0;
    NumberError error = NumberError::None;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the leading decimal int as std::stoi does: leading blanks and one sign are accepted,
// anything after the digits is ignored; no digits is invalid, beyond int is out of range.
NumberResult readInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    long long magnitude = 0;
    bool tooLarge = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (!tooLarge) {
            magnitude = magnitude * 10 + (text[i] - '0');
            tooLarge = magnitude > static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (i == firstDigit) {
        return {0, NumberError::Invalid};
    }
    const long long value = negative ? -magnitude : magnitude;
    if (tooLarge || value > INT_MAX || value < INT_MIN) {
        return {0, NumberError::OutOfRange};
    }
    return {value, NumberError::None};
}

// Splits at every occurrence of the separator, keeping empty pieces: "1+" is "1" and "".
std::vector<std::string_view> split(std::string_view text, std::string_view separator)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
}

// The flags of the leading letter of a channel entry, if it has one.
struct Letter {
    bool safety;
    bool slowSafety;
};

std::optional<Letter> leadingLetter(std::string_view channelPart)
{
    if (channelPart.empty()) {
        return std::nullopt;
    }
    switch (channelPart.front()) {
        case 's':
        case 'S': return Letter{true, false};
        case 'q':
        case 'Q': return Letter{true, true};
        case 'd':
        case 'D': return Letter{false, true};
        default: return std::nullopt;
    }
}

const char* message(NumberError error)
{
    return error == NumberError::OutOfRange ? CueCommand::kNumberOutOfRange
                                            : CueCommand::kInvalidNumber;
}

}  // namespace

CueCommand::CueCommand(int type) : type_(type) {}

CueCommand CueCommand::pyro(int address)
{
    CueCommand command(TYPE_PYRO);
    command.address_ = address;
    return command;
}

CueCommand CueCommand::dmx(int universe, int channel, int value)
{
    CueCommand command(TYPE_DMX512);
    command.universe_ = universe;
    command.address_ = channel;
    command.value_ = value;
    return command;
}

CueCommand CueCommand::fromCommandWord(uint32_t word)
{
    const uint32_t low = word & kLow24;
    // The top byte taken as a signed number: words from 0x80000000 up are negative.
    const int32_t top = static_cast<int32_t>(word) >> kTypeShift;
    switch (top) {
        case TYPE_PYRO: return pyro(low == kLow24 ? kNoAddress : static_cast<int>(low));
        case TYPE_DMX512:
            if (low == kLow24) {
                return dmx(0, kNoAddress, 0);
            }
            return dmx(static_cast<int>((word >> 17) & 0x7F), static_cast<int>((word >> 8) & 0x1FF),
                       static_cast<int>(word & 0xFF));
        case TYPE_REMINDER: return CueCommand(TYPE_REMINDER);
        default: return pyro(0);
    }
}

uint32_t CueCommand::toCommandWord() const
{
    const uint32_t typeBits = static_cast<uint32_t>(type_) << kTypeShift;
    switch (type_) {
        case TYPE_PYRO:
            return address_ == kNoAddress ? kLow24 : (static_cast<uint32_t>(address_) & kLow24);
        case TYPE_DMX512:
            if (address_ == kNoAddress) {
                return typeBits | kLow24;
            }
            return typeBits | (static_cast<uint32_t>(universe_) & 0x7F) << 17 |
                   (static_cast<uint32_t>(address_) & 0x1FF) << 8 |
                   (static_cast<uint32_t>(value_) & 0xFF);
        case TYPE_REMINDER: return kReminderWord;
        default: return kUnknownWord;
    }
}

bool CueCommand::operator==(const CueCommand& other) const
{
    if (type_ != other.type_ || address_ != other.address_) {
        return false;
    }
    if (type_ != TYPE_DMX512) {
        return true;
    }
    return universe_ == other.universe_ && value_ == other.value_ && chaseBpm_ == other.chaseBpm_ &&
           dmxText_ == other.dmxText_ && chasePath_ == other.chasePath_;
}

bool CueCommand::setDmxText(const std::string& text, std::string* error)
{
    if (text.empty()) {
        return true;
    }
    dmxText_ = text;

    DmxSteps steps;
    for (std::string_view stepText : split(dmxText_, ")+(")) {
        if (!stepText.empty() && stepText.front() == '(') {
            stepText.remove_prefix(1);
        }
        if (!stepText.empty() && stepText.back() == ')') {
            stepText.remove_suffix(1);
        }
        DmxStep& step = steps.emplace_back();
        for (std::string_view entry : split(stepText, "+")) {
            const std::vector<std::string_view> parts = split(entry, "@");
            std::string_view channelPart = parts.front();
            const std::optional<Letter> letter = leadingLetter(channelPart);
            if (letter) {
                channelPart.remove_prefix(1);
            }
            const NumberResult channel = readInt(channelPart);
            NumberResult value{value_, NumberError::None};
            if (parts.size() == 2) {
                value = readInt(parts[1]);
            }
            NumberError failure = channel.error != NumberError::None ? channel.error : value.error;
            if (failure == NumberError::None &&
                (channel.value < 0 || channel.value > kMaxChannel)) {
                failure = NumberError::OutOfRange;
            }
            if (failure != NumberError::None) {
                if (error) {
                    *error = message(failure);
                }
                return false;
            }
            const long long level = std::clamp(value.value, 0LL, 255LL);
            step.emplace_back(static_cast<uint16_t>(channel.value), static_cast<uint8_t>(level), 0,
                              false, letter && letter->safety, letter && letter->slowSafety, 0);
        }
    }
    dmxSteps_ = std::move(steps);
    return true;
}

void CueCommand::clearDmxText()
{
    dmxText_.clear();
    dmxSteps_.clear();
}

std::string CueCommand::textKey() const
{
    switch (type_) {
        case TYPE_PYRO: return isDefined() ? "CUECOMMAND.PYRO" : "CUECOMMAND.PYRO.UNDEF";
        case TYPE_DMX512:
            if (!isDefined()) {
                return "CUECOMMAND.DMX512.UNDEF";
            }
            if (dmxSteps_.size() >= 2) {
                return "CUECOMMAND.DMX512.CHASE";
            }
            if (dmxSteps_.size() == 1 && dmxSteps_.front().size() >= 2) {
                return "CUECOMMAND.DMX512.SCENE";
            }
            return "CUECOMMAND.DMX512";
        default: return "";
    }
}

}  // namespace Project
