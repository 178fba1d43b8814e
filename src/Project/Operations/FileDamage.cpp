#include "Project/Operations/FileDamage.h"

namespace Project {

bool FileDamage::open(FileIO::RiffFileReader& reader, const std::wstring& path,
                      uint64_t elementLimit)
{
    reader.setKeepWhatCanBeRead(true);
    reader.setElementLimit(elementLimit);
    return reader.open(path);
}

bool FileDamage::openBytes(FileIO::RiffFileReader& reader, std::string bytes, uint64_t elementLimit)
{
    reader.setKeepWhatCanBeRead(true);
    reader.setElementLimit(elementLimit);
    return reader.openBytes(std::move(bytes));
}

bool FileDamage::accept(FileIO::RiffFileReader& reader, Salvage salvage, std::wstring& errorKey)
{
    if (!reader.isDamaged()) {
        reader.checkIntegrityRecord();
    }
    if (reader.isDamaged() && salvage == Salvage::REFUSE) {
        errorKey = kKey;
        return false;
    }
    return true;
}

}  // namespace Project
