#include "FileIO/JetRecordSet.h"

#include <algorithm>
#include <cwchar>

#include "Platform/Utf.h"

namespace FileIO {

namespace {

// Letters folded for comparisons without regard to case, as Jet's general order compares
// them: ASCII and Latin-1 letters by their base letter (accents do not count), Latin
// Extended-A by case only.
wchar_t foldCase(wchar_t c)
{
    if (c >= L'A' && c <= L'Z') {
        return static_cast<wchar_t>(c + 32);
    }
    if (c >= 0xC0 && c <= 0xFF) {
        // The base letter of each code from U+00C0 to U+00FF; '*' marks the two signs.
        static constexpr char kBase[] =
            "aaaaaaaceeeeiiiidnooooo*ouuuuytsaaaaaaaceeeeiiiidnooooo*ouuuuyty";
        const char base = kBase[c - 0xC0];
        return base == '*' ? c : static_cast<wchar_t>(base);
    }
    if (c == 0x178) {
        return L'y';
    }
    if (c >= 0x100 && c <= 0x17F) {
        // Pairs of upper then lower case, except the two runs that start on an odd code.
        const bool oddPairs = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddPairs ? (c % 2 == 1) : (c % 2 == 0 && c != 0x138)) {
            return static_cast<wchar_t>(c + 1);
        }
    }
    return c;
}

int compareText(const std::wstring& a, const std::wstring& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t x = foldCase(a[i]);
        const wchar_t y = foldCase(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

double numberOf(const std::wstring& text)
{
    return std::wcstod(text.c_str(), nullptr);
}

// The byte form: little-endian 32-bit counts and lengths, texts in UTF-8.
void putU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    }
}

void putText(std::string& out, const std::wstring& text)
{
    const std::string utf8 = Platform::toUtf8(text);
    putU32(out, static_cast<uint32_t>(utf8.size()));
    out += utf8;
}

class Cursor {
public:
    explicit Cursor(std::string_view bytes) : bytes_(bytes) {}

    bool u8(uint8_t& v)
    {
        if (bytes_.size() - at_ < 1) {
            return false;
        }
        v = static_cast<uint8_t>(bytes_[at_++]);
        return true;
    }
    bool u32(uint32_t& v)
    {
        if (bytes_.size() - at_ < 4) {
            return false;
        }
        v = 0;
        for (int i = 0; i < 4; ++i) {
            v |= static_cast<uint32_t>(static_cast<uint8_t>(bytes_[at_ + i])) << (8 * i);
        }
        at_ += 4;
        return true;
    }
    bool text(std::wstring& v)
    {
        uint32_t length = 0;
        if (!u32(length) || bytes_.size() - at_ < length) {
            return false;
        }
        v = Platform::fromUtf8(bytes_.substr(at_, length));
        at_ += length;
        return true;
    }
    bool atEnd() const { return at_ == bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

constexpr uint8_t kRowMark = 1;
constexpr uint8_t kEndMark = 0;

}  // namespace

void JetRecordSet::clear()
{
    columns_.clear();
    rows_.clear();
}

void JetRecordSet::addColumn(std::wstring name, Kind kind)
{
    columns_.push_back(Column{std::move(name), kind});
    for (auto& row : rows_) {
        row.emplace_back();
    }
}

std::vector<JetRecordSet::Value>& JetRecordSet::addRow()
{
    rows_.emplace_back(columns_.size());
    return rows_.back();
}

int JetRecordSet::findColumn(std::wstring_view name) const
{
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (compareText(columns_[i].name, std::wstring(name)) == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void JetRecordSet::sortBy(int column, bool descending)
{
    if (column < 0 || static_cast<std::size_t>(column) >= columns_.size()) {
        return;
    }
    const auto c = static_cast<std::size_t>(column);
    const bool numeric = columns_[c].kind == Kind::NUMBER;
    auto less = [&](const std::vector<Value>& x, const std::vector<Value>& y) {
        const Value& a = x[c];
        const Value& b = y[c];
        if (a.null || b.null) {
            return a.null && !b.null;
        }
        if (numeric) {
            return numberOf(a.text) < numberOf(b.text);
        }
        return compareText(a.text, b.text) < 0;
    };
    if (descending) {
        std::stable_sort(rows_.begin(), rows_.end(),
                         [&](const auto& x, const auto& y) { return less(y, x); });
    } else {
        std::stable_sort(rows_.begin(), rows_.end(), less);
    }
}

std::string JetRecordSet::serialize() const
{
    std::string out;
    putU32(out, static_cast<uint32_t>(columns_.size()));
    for (const Column& column : columns_) {
        putText(out, column.name);
        out.push_back(static_cast<char>(column.kind));
    }
    for (const auto& row : rows_) {
        out.push_back(static_cast<char>(kRowMark));
        for (const Value& value : row) {
            out.push_back(value.null ? 1 : 0);
            if (!value.null) {
                putText(out, value.text);
            }
        }
    }
    out.push_back(static_cast<char>(kEndMark));
    return out;
}

bool JetRecordSet::deserialize(std::string_view bytes)
{
    clear();
    Cursor in(bytes);
    uint32_t count = 0;
    // Each column takes at least five bytes, which bounds the count by the input.
    if (!in.u32(count) || count > bytes.size() / 5) {
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        std::wstring name;
        uint8_t kind = 0;
        if (!in.text(name) || !in.u8(kind) || kind > static_cast<uint8_t>(Kind::OTHER)) {
            clear();
            return false;
        }
        addColumn(std::move(name), static_cast<Kind>(kind));
    }
    for (;;) {
        uint8_t mark = 0;
        if (!in.u8(mark)) {
            clear();
            return false;
        }
        if (mark == kEndMark) {
            break;
        }
        if (mark != kRowMark) {
            clear();
            return false;
        }
        std::vector<Value>& row = addRow();
        for (Value& value : row) {
            uint8_t null = 0;
            if (!in.u8(null) || null > 1) {
                clear();
                return false;
            }
            value.null = null == 1;
            if (!value.null && !in.text(value.text)) {
                clear();
                return false;
            }
        }
    }
    if (!in.atEnd()) {
        clear();
        return false;
    }
    return true;
}

}  // namespace FileIO
