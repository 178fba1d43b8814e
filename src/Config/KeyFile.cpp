#include "Config/KeyFile.h"

#include "Platform/Log.h"
#include "Platform/TextFile.h"

namespace Config {

namespace {

bool hasLineBreak(const std::wstring& text)
{
    return text.find_first_of(L"\r\n") != std::wstring::npos;
}

// The first character of a line that makes it a comment or a section line.
bool startsSpecialLine(const std::wstring& text)
{
    return !text.empty() && (text.front() == L';' || text.front() == L'%' || text.front() == L'[');
}

}  // namespace

bool KeyFile::read(const std::wstring& path, KeyMap& values)
{
    std::vector<std::wstring> lines;
    if (!Platform::TextFile::readLines(path, lines)) {
        return false;
    }
    parse(lines, values);
    return true;
}

void KeyFile::parse(const std::vector<std::wstring>& lines, KeyMap& values)
{
    std::wstring prefix;
    for (const std::wstring& line : lines) {
        if (line.empty() || line.front() == L';' || line.front() == L'%') {
            continue;
        }
        if (line.front() == L'[') {
            const std::size_t close = line.find(L']');
            if (close != std::wstring::npos) {
                prefix = line.substr(1, close - 1) + L".";
            }
            continue;
        }
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring::npos) {
            continue;
        }
        values[prefix + line.substr(0, equals)] = line.substr(equals + 1);
    }
}

bool KeyFile::canStore(const std::wstring& key, const std::wstring& value)
{
    if (hasLineBreak(key) || hasLineBreak(value)) {
        return false;
    }
    const std::size_t dot = key.find(L'.');
    // Outside sections the key is the whole line start; in a section, the name after the
    // first "." is, and the section name ends at its "]".
    const std::wstring name = dot == std::wstring::npos ? key : key.substr(dot + 1);
    if (dot != std::wstring::npos && key.find(L']') < dot) {
        return false;
    }
    return name.find(L'=') == std::wstring::npos && !startsSpecialLine(name);
}

std::vector<std::wstring> KeyFile::format(const KeyMap& values)
{
    std::vector<std::wstring> lines;
    // Sections in the order of their first entry, each with its lines.
    std::vector<std::wstring> sections;
    std::map<std::wstring, std::vector<std::wstring>> sectionLines;
    for (const auto& [key, value] : values) {
        if (!canStore(key, value)) {
            Platform::logLine(L"Settings entry " + key +
                              L" holds text a key file cannot keep and was not written.");
            continue;
        }
        const std::size_t dot = key.find(L'.');
        if (dot == std::wstring::npos) {
            lines.push_back(key + L"=" + value);
            continue;
        }
        const std::wstring section = key.substr(0, dot);
        auto [it, added] = sectionLines.try_emplace(section);
        if (added) {
            sections.push_back(section);
        }
        it->second.push_back(key.substr(dot + 1) + L"=" + value);
    }
    for (const std::wstring& section : sections) {
        lines.push_back(L"[" + section + L"]");
        const std::vector<std::wstring>& entries = sectionLines[section];
        lines.insert(lines.end(), entries.begin(), entries.end());
    }
    return lines;
}

bool KeyFile::write(const std::wstring& path, const KeyMap& values)
{
    return Platform::TextFile::writeLines(path, format(values));
}

}  // namespace Config
