#pragma once

#include <map>
#include <string>
#include <vector>

namespace Config {

// Settings and texts by full key: "section.name", or "name" for an entry outside sections.
// Sorted, so a written file is the same for the same settings.
using KeyMap = std::map<std::wstring, std::wstring>;

// Key files: the settings file, the defaults file and the language files.
//
//   ; a comment (so is a line starting with "%", and an empty line)
//   locale=en-us          stored as "locale"
//   [keys]
//   00000020=1            stored as "keys.00000020"
//
// The key is the text before the first "=", the value all after it; nothing is trimmed. A
// section line names the section up to its first "]"; a "[" line without "]" is ignored and
// the current section stays. Lines without "=" are ignored. Later entries replace earlier
// ones with the same full key.
class KeyFile {
public:
    // Adds the entries of the file to `values`. False, with `values` untouched, when the
    // file cannot be read; an empty file is a success.
    static bool read(const std::wstring& path, KeyMap& values);

    // Writes `values` as a key file: first the entries outside sections, then each section
    // with its entries. False when the file could not be written (the old file then stays).
    static bool write(const std::wstring& path, const KeyMap& values);

    // The text forms of the two operations above.
    static void parse(const std::vector<std::wstring>& lines, KeyMap& values);
    static std::vector<std::wstring> format(const KeyMap& values);

    // True when the entry reads back from a written file as itself. A value with a line
    // break, for one, would come back as a cut value and a stray line that might even be
    // read as another setting. format() leaves such entries out and logs each.
    static bool canStore(const std::wstring& key, const std::wstring& value);
};

}  // namespace Config
