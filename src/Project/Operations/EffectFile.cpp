#include "Project/Operations/EffectFile.h"

#include <array>

#include "Platform/FileReplacement.h"
#include "Platform/Folders.h"
#include "Platform/Utf.h"
#include "Project/Operations/ProjectFileText.h"

namespace Project {

namespace {

using FileIO::RiffFileReader;
using FileIO::RiffFileWriter;

// The keys of the record text form, indexed by EffectField.
constexpr std::array<std::u16string_view, kEffectFieldCount> kFieldKeys = {
    u"~DES", u"~ART", u"~DUR", u"~CAL", u"~PRI", u"~MAN", u"~PRE", u"~HEI",
    u"~COL", u"~TYP", u"~ANG", u"~VAN", u"~CLA", u"~WEI", u"~DIS",
};

bool fail(std::wstring& errorKey, const wchar_t* key)
{
    errorKey = key;
    return false;
}

}  // namespace

std::wstring EffectFile::defaultPath()
{
    return Platform::userDataFolder() + kDefaultName;
}

bool EffectFile::isEffectFile(const RiffFileReader& reader)
{
    return reader.isOpen() && reader.getRoot().getId() == "FWE ";
}

bool EffectFile::read(RiffFileReader& reader, EffectList& effects, std::wstring& errorKey,
                      Salvage salvage)
{
    int left = kMaxEffects;
    for (const auto& child : reader.getRoot().getChildren()) {
        if (!child->isChunk() || child->getId() != "EFF ") {
            continue;
        }
        // Beyond the limits the file is damaged; salvaging, what lies within them is read.
        if (--left < 0) {
            return salvage == Salvage::ALLOW || fail(errorKey, FileDamage::kKey);
        }
        if (child->getSize() > kMaxEffectChunkSize) {
            if (salvage == Salvage::ALLOW) {
                continue;
            }
            return fail(errorKey, FileDamage::kKey);
        }
        std::string data;
        switch (FileText::readData(reader, *child, data)) {
            case FileText::ReadResult::OK: break;
            case FileText::ReadResult::NO_MEMORY: return fail(errorKey, L"ERROR.MEMORY");
            // The file shrank or failed under the reader: the chunk is skipped.
            case FileText::ReadResult::FAILED: continue;
        }
        // Pairs of key and value; a later pair of the same key replaces an earlier one, a
        // key without its value and keys of no field ("~DBI" among them) are ignored.
        EffectTexts texts;
        const std::vector<std::u16string> strings = FileText::splitUnits(data);
        for (std::size_t i = 0; i + 1 < strings.size(); i += 2) {
            for (std::size_t field = 0; field < kFieldKeys.size(); ++field) {
                if (strings[i] == kFieldKeys[field]) {
                    texts[field] = Platform::fromUtf16(strings[i + 1]);
                    break;
                }
            }
        }
        effects.addEffectFromText(texts);
    }
    return true;
}

bool EffectFile::writeContent(RiffFileWriter& writer, const EffectList& effects)
{
    bool ok = true;
    for (const EffectList::EffectItem* effect : effects) {
        ok = ok && writer.beginChunk("EFF ");
        for (const std::wstring& text : effect->toKeyValueTexts()) {
            ok = ok && writer.writeString(text);
        }
        ok = ok && writer.end();
    }
    return ok && writer.appendIntegrityRecord();
}

std::string EffectFile::toBytes(const EffectList& effects)
{
    RiffFileWriter writer;
    writer.openInMemory();
    writer.beginList("FWE ");
    writeContent(writer, effects);
    writer.close();
    return writer.getBytes();
}

bool EffectFile::save(const std::wstring& path, const EffectList& effects, std::wstring& errorKey)
{
    Platform::FileReplacement replacement(path, Platform::FileReplacement::Backup::KEEP_PREVIOUS);
    RiffFileWriter writer;
    if (!writer.open(replacement) || !writer.beginList("FWE ")) {
        return fail(errorKey, L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING_TODO");
    }
    bool ok = writeContent(writer, effects);
    ok = writer.close() && ok;
    if (!ok || !replacement.commit()) {
        return fail(errorKey, L"ERROR.FAILED_TO_WRITE_TO_FILE_TODO");
    }
    return true;
}

bool EffectFile::open(RiffFileReader& reader, const std::wstring& path)
{
    return FileDamage::open(reader, path, kMaxElements);
}

bool EffectFile::load(const std::wstring& path, EffectList& effects, std::wstring& errorKey,
                      Salvage salvage)
{
    RiffFileReader reader;
    if (!open(reader, path)) {
        return true;
    }
    if (!isEffectFile(reader)) {
        return fail(errorKey, L"ERROR.INVALID_FWP_TODO");
    }
    return FileDamage::accept(reader, salvage, errorKey) &&
           read(reader, effects, errorKey, salvage);
}

}  // namespace Project
