#include "Platform/TextFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Platform/FileReplacement.h"
#include "Platform/Utf.h"

namespace Platform {

namespace {

std::wstring decodeUtf16le(std::string_view bytes)
{
    std::u16string units(bytes.size() / 2, u'\0');  // an odd last byte is dropped
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto low = static_cast<unsigned char>(bytes[2 * i]);
        const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(low | (high << 8));
    }
    return fromUtf16(units);
}

std::wstring decodeText(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return fromUtf8(bytes.substr(3));
    }
    if (bytes.starts_with("\xFF\xFE")) {
        return decodeUtf16le(bytes.substr(2));
    }
    if (bytes.find('\0') != std::string_view::npos) {
        return decodeUtf16le(bytes);
    }
    return fromUtf8(bytes);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

bool readAll(const std::string& path, std::string& bytes)
{
    // O_NONBLOCK keeps a FIFO in place of the file from blocking the open; only regular
    // files are read, so a device cannot feed an endless stream.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    std::string data;
    data.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        data.append(buffer, static_cast<std::size_t>(n));
    }
    bytes = std::move(data);
    return true;
}

}  // namespace

bool TextFile::readLines(const std::wstring& path, std::vector<std::wstring>& lines)
{
    std::string bytes;
    if (!readAll(toUtf8(path), bytes)) {
        return false;
    }
    lines = decodeLines(bytes);
    return true;
}

std::vector<std::wstring> TextFile::decodeLines(std::string_view bytes)
{
    const std::wstring text = decodeText(bytes);
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const wchar_t c = text[i];
        if (c != L'\r' && c != L'\n') {
            ++i;
            continue;
        }
        lines.emplace_back(text, start, i - start);
        i += (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ? 2 : 1;
        start = i;
    }
    if (start < text.size()) {
        lines.emplace_back(text, start, text.size() - start);
    }
    return lines;
}

std::string TextFile::encodeLines(const std::vector<std::wstring>& lines)
{
    std::string bytes = "\xFF\xFE";
    auto put = [&bytes](char16_t unit) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    };
    for (const std::wstring& line : lines) {
        for (char16_t unit : toUtf16(line)) {
            put(unit);
        }
        put(u'\n');
    }
    return bytes;
}

bool TextFile::writeLines(const std::wstring& path, const std::vector<std::wstring>& lines)
{
    FileReplacement::Failure failure{};
    return FileReplacement::replaceWith(path, encodeLines(lines), failure);
}

}  // namespace Platform
