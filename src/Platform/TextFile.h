#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Platform {

// Unicode text files of lines: the settings, defaults and language files.
//
// Reading accepts what people and other programs write: a UTF-8 byte-order mark selects
// UTF-8, FF FE selects UTF-16LE. A file without a mark is UTF-16LE when it holds a NUL byte
// and UTF-8 otherwise, since files edited by hand on Linux are UTF-8 without a mark. Bytes
// that do not decode become U+FFFD; an odd last byte of UTF-16 is dropped. Lines end at
// CR LF, LF or CR.
//
// Writing always produces UTF-16LE with a byte-order mark, each line followed by LF, and
// replaces the file through FileReplacement: a write that fails part-way leaves the old file
// as it was, and the new file keeps the old one's permissions.
class TextFile {
public:
    // The lines of the file without their line ends. False, with `lines` untouched, when the
    // file is missing, is not a regular file or cannot be read.
    static bool readLines(const std::wstring& path, std::vector<std::wstring>& lines);

    // False when the file could not be written completely; the old file is then unchanged
    // and no temporary file is left behind.
    static bool writeLines(const std::wstring& path, const std::vector<std::wstring>& lines);

    // The decoding and encoding of the two operations above, on bytes in memory.
    static std::vector<std::wstring> decodeLines(std::string_view bytes);
    static std::string encodeLines(const std::vector<std::wstring>& lines);
};

}  // namespace Platform
