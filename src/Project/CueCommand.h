#pragma once

#include <cstdint>
#include <string>

#include "Project/DmxChannelValue.h"

namespace Project {

// What a cue does: fire a pyro address, drive DMX channels (one step is a scene, several a
// chase) or only remind the operator.
//
// The DMX text grammar: one step, or several steps each in parentheses joined by "+", e.g.
// "(1@255+2@0)+(1@0+2@255)". A step is channel entries joined by "+"; an entry is an optional
// letter (S: safety, D: slow safety, Q: both), a DMX channel number counted from 1 and
// optionally "@" and a value 0..255. An entry without a value takes the command's value.
class CueCommand {
public:
    enum Type : int32_t {
        TYPE_PYRO = 0,
        TYPE_DMX512 = 1,
        TYPE_REMINDER = 2,
    };

    enum ChasePath : int32_t {
        CHASE_SINE = 1,
        CHASE_BLOCK = 2,
    };

    // Address value meaning "no pyro address" or "no DMX channel".
    static constexpr int32_t kNoAddress = -1;

    // The errors of setDmxText(), worded as the standard integer conversion words them.
    static constexpr const char* kInvalidNumber = "invalid stoi argument";
    static constexpr const char* kNumberOutOfRange = "stoi argument out of range";

    // The DMX part of a command, as getDmxData() hands it out.
    struct DmxData {
        DmxSteps steps;
        std::string text;
        int32_t chasePath = CHASE_SINE;
        int32_t chaseBpm = 0;
    };

    explicit CueCommand(int type = TYPE_PYRO);
    static CueCommand pyro(int address);
    // `channel` is the channel index 0..511 (the DMX channel number minus one).
    static CueCommand dmx(int universe, int channel, int value);
    // Decodes the packed word; the DMX text, steps, chase path and speed stay at defaults.
    static CueCommand fromCommandWord(uint32_t word);

    // The packed 32-bit form kept by project files and operations: a pyro address in the
    // low 24 bits; DMX as 0x01000000 | universe << 17 | channel << 8 | value; a reminder as
    // 0x02FFFFFF. It does not carry the DMX text. Universe 127, channel 511, value 255 packs
    // to the word of "no channel", 0x01FFFFFF, and reads back as such.
    uint32_t toCommandWord() const;

    // Type and address; for DMX also universe, value, chase speed, DMX text and chase path.
    // The steps are not compared: they follow from the text.
    bool operator==(const CueCommand& other) const;

    int getType() const { return type_; }
    int getAddress() const { return address_; }
    int getUniverse() const { return universe_; }
    int getValue() const { return value_; }
    const DmxSteps& getDmxSteps() const { return dmxSteps_; }
    const std::string& getDmxText() const { return dmxText_; }
    int getChasePath() const { return chasePath_; }
    int getChaseBpm() const { return chaseBpm_; }
    DmxData getDmxData() const { return {dmxSteps_, dmxText_, chasePath_, chaseBpm_}; }

    void setType(int type) { type_ = type; }
    void setAddress(int address) { address_ = address; }
    void setUniverse(int universe) { universe_ = universe; }
    void setValue(int value) { value_ = value; }
    void setChasePath(int chasePath) { chasePath_ = chasePath; }
    void setChaseBpm(int chaseBpm) { chaseBpm_ = chaseBpm; }

    // Stores the text and parses it into the steps. An empty text is ignored (true, nothing
    // changed). On a channel or value that is not a number, or out of range, the result is
    // false, `error` (when given) gets kInvalidNumber or kNumberOutOfRange, and the command
    // keeps the new text with its old steps.
    bool setDmxText(const std::string& text, std::string* error = nullptr);
    // No DMX text and no steps (an empty text given to setDmxText() is ignored instead).
    void clearDmxText();

    // Defined when it has an address or a DMX text; views show it as undefined otherwise.
    bool isDefined() const { return address_ != kNoAddress || !dmxText_.empty(); }
    // The localization key of the command's kind: "CUECOMMAND.PYRO", "CUECOMMAND.DMX512",
    // ".SCENE" or ".CHASE" after it, or ".UNDEF" after either; empty for a reminder.
    std::string textKey() const;

private:
    int32_t type_;
    int32_t address_ = kNoAddress;
    int32_t universe_ = 0;
    int32_t value_ = 0;
    DmxSteps dmxSteps_;
    std::string dmxText_;
    int32_t chasePath_ = CHASE_SINE;
    int32_t chaseBpm_ = 0;
};

}  // namespace Project
