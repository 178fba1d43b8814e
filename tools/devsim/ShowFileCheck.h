#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Devsim {

// The firing system's check of a show file (.fws): the record area parses record by record,
// the "?^" marker follows it, and the last 16 bytes decipher with the show file key to a
// trailer whose markers are right and whose count matches the records found.
struct ShowFileSummary {
    int records = 0;
    int format = 0;
    uint32_t exportTime = 0;
};

// False with a one-line reason when the file is not a show file this system can play.
bool checkShowFile(std::string_view bytes, ShowFileSummary& summary, std::string& reason);

}  // namespace Devsim
