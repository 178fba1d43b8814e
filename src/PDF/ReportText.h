#pragma once

#include <functional>
#include <string>

#include "Project/Cue.h"

namespace PDF {

// The text of a localization key (Config::tr in the program; tests pass their own).
using Translate = std::function<std::wstring(const std::wstring&)>;

// The texts the reports take from cues and from the localization, in Windows-1252.
class ReportText {
public:
    // Config::tr.
    static Translate defaultTranslate();

    // The cue's metadata value for the key, or an empty text when it has none.
    static std::wstring meta(const Project::Cue& cue, const wchar_t* key);
    static std::string metaText(const Project::Cue& cue, const wchar_t* key);

    // "~DESC", "~TYPE" and "~ARTNR" joined by " - ", leaving out the empty ones.
    static std::string articleText(const Project::Cue& cue);

    // A real in the "%.2f" form with a full stop whatever the process locale.
    static std::string fixed2(double value);

    // The address of a firing module ("%02X" of address / 16) and, after "-", the pin as one
    // hexadecimal digit: address 0x1A3 is "1A-3". The module alone by moduleText().
    static std::string addressText(int address);
    static std::string moduleText(int module);
};

}  // namespace PDF
