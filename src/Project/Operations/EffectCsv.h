#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Project/Effect.h"
#include "Project/EffectList.h"

namespace Project {

// The effect library as comma-separated values, for suppliers' price lists and spreadsheets:
// UTF-8 (a leading byte order mark is accepted), a header row with the field names, fields
// quoted as RFC 4180 does (a field with a comma, quote or line break is enclosed in quotes,
// a quote inside is doubled), lines ended by CR LF.
class EffectCsv {
public:
    // The column names, indexed by EffectField.
    static const std::array<std::string_view, kEffectFieldCount> kColumnNames;
    // Larger files are refused whole: no price list comes near it.
    static constexpr std::size_t kMaxBytes = 32u * 1024u * 1024u;

    // One data row that cannot become an effect, and why.
    struct Refusal {
        int line = 0;            // the line the row starts on, counted from 1
        std::wstring reasonKey;  // localization key of the reason
        std::wstring column;     // the column at fault, when there is one
    };
    // What a file holds: the rows that can become effects, each with its line, and the rows
    // refused.
    struct Table {
        std::vector<EffectTexts> rows;
        std::vector<int> rowLines;
        std::vector<Refusal> refused;
    };

    // The header row and one row per effect of the list, in list order. Numbers are plain
    // digits; the price has at least two decimals and as many more as it holds.
    static std::string write(const EffectList& list);
    // Writes the file the safe way (an old file stays whole on failure). False with the
    // localization key of the failure.
    static bool save(const std::wstring& path, const EffectList& list, std::wstring& errorKey);

    // Reads a whole file's bytes. False, with the localization key of the reason, when the
    // file as a whole cannot be taken (not UTF-8, too large, no header row naming a known
    // column, a quoted field never closed); a row that is wrong on its own is refused
    // instead. Columns are found by name in any order, letter case ignored; unknown columns
    // are ignored; empty lines are skipped. Number columns take empty text (0) or a whole
    // number of at least -1 (the library's mark for an unknown value); the price takes a
    // number with a full stop or a comma.
    static bool read(std::string_view bytes, Table& table, std::wstring& errorKey);
};

}  // namespace Project
