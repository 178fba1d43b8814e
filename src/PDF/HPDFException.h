#pragma once

#include <cstdint>
#include <exception>

namespace PDF {

// An error of the PDF library: its error number and detail number. It ends the report being
// built; the report operations turn it into a failed result.
class HPDFException : public std::exception {
public:
    HPDFException(uint32_t errorNo, uint32_t detailNo) : errorNo_(errorNo), detailNo_(detailNo) {}

    uint32_t getErrorNo() const { return errorNo_; }
    uint32_t getDetailNo() const { return detailNo_; }
    const char* what() const noexcept override { return "PDF library error"; }

private:
    uint32_t errorNo_;
    uint32_t detailNo_;
};

}  // namespace PDF
