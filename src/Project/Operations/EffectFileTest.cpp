#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "FileIO/RiffFileReader.h"
#include "FileIO/RiffFileWriter.h"
#include "FileIO/RiffTestBytes.h"
#include "Platform/TestFolder.h"
#include "Project/Operations/EffectFile.h"

namespace Project {
namespace {

using FileIO::RiffFileWriter;

EffectTexts texts(std::vector<std::pair<EffectField, std::wstring>> fields)
{
    EffectTexts t;
    for (auto& [field, text] : fields) {
        t[static_cast<std::size_t>(field)] = text;
    }
    return t;
}

// The record text form of every effect, in list order.
std::vector<std::vector<std::wstring>> records(const EffectList& list)
{
    std::vector<std::vector<std::wstring>> all;
    for (const EffectList::EffectItem* effect : list) {
        all.push_back(effect->toKeyValueTexts());
    }
    return all;
}

std::string effectFile(const std::vector<std::u16string>& chunks)
{
    RiffFileWriter w;
    w.openInMemory();
    w.beginList("FWE ");
    for (const std::u16string& data : chunks) {
        w.beginChunk("EFF ");
        w.write(Platform::utf16le(data));
        w.end();
    }
    w.close();
    return w.getBytes();
}

bool readBytes(const std::string& bytes, EffectList& list)
{
    FileIO::RiffFileReader reader;
    std::wstring error;
    return reader.openBytes(bytes) && EffectFile::isEffectFile(reader) &&
           EffectFile::read(reader, list, error);
}

TEST(EffectFile, WritesTheLayoutByteForByte)
{
    EffectList list;
    // The integrity record ends every file: 12 bytes of list and 12 of record.
    EXPECT_EQ(EffectFile::toBytes(list),
              FileIO::TestBytes::withIntegrityRecord(std::string("RIFF\x04\0\0\0FWE ", 12)));
    EXPECT_EQ(EffectFile::toBytes(list).size(), 24u);

    list.addEffectFromText(texts({{EffectField::DESCRIPTION, L"Red"}}));
    const std::string bytes = EffectFile::toBytes(list);
    const std::string record = Platform::utf16le(std::u16string(u"~DES\0Red\0~DBI\0-1\0", 17));
    ASSERT_EQ(record.size(), 34u);
    EXPECT_EQ(bytes, FileIO::TestBytes::withIntegrityRecord(
                         std::string("RIFF\x2E\0\0\0FWE EFF \x22\0\0\0", 20) + record));
}

TEST(EffectFile, StoresAndLoadsEveryField)
{
    Platform::TestFolder folder;
    EffectList list;
    list.addEffectFromText(texts({
        {EffectField::DESCRIPTION, L"Gold willow \u00E9"},
        {EffectField::ARTICLE_NUMBER, L"GW-100"},
        {EffectField::DURATION, L"4"},
        {EffectField::CALIBER, L"100 mm"},
        {EffectField::PRICE, L"12.5"},
        {EffectField::MANUFACTURER, L"Acme"},
        {EffectField::PREFIRE, L"30"},
        {EffectField::HEIGHT, L"120"},
        {EffectField::COLOR, L"gold"},
        {EffectField::TYPE, L"shell"},
        {EffectField::ANGLE, L"90"},
        {EffectField::VAN_SHAPE, L"round"},
        {EffectField::CLASSIFICATION, L"F4"},
        {EffectField::WEIGHT, L"900"},
        {EffectField::DISTANCE, L"100 m"},
    }));
    list.addEffectFromText(texts({{EffectField::DESCRIPTION, L"Red"}}));
    list.addEffectFromText(EffectTexts{});  // no field set at all
    std::wstring error;
    ASSERT_TRUE(EffectFile::save(folder.path("lib.fwe"), list, error)) << error;

    EffectList loaded;
    ASSERT_TRUE(EffectFile::load(folder.path("lib.fwe"), loaded, error)) << error;
    EXPECT_EQ(records(loaded), records(list));
    // Loading the same file again adds nothing: every effect is a duplicate.
    ASSERT_TRUE(EffectFile::load(folder.path("lib.fwe"), loaded, error));
    EXPECT_EQ(loaded.getCount(), 3);
}

TEST(EffectFile, ReadsPairsAsTheyCome)
{
    EffectList list;
    ASSERT_TRUE(readBytes(effectFile({
                              // two identical chunks make one effect
                              std::u16string(u"~DES\0A\0", 7),
                              std::u16string(u"~DES\0A\0", 7),
                              // any order, unknown keys ignored, the later pair wins, a last
                              // value without terminator counts
                              std::u16string(u"~COL\0red\0~XYZ\0q\0~DBI\0 7\0~DES\0B\0~DES\0C", 37),
                              // a key without its value is ignored
                              std::u16string(u"~DES\0D\0~ART", 11),
                          }),
                          list));
    std::vector<std::wstring> descriptions, colors, articles;
    for (const EffectList::EffectItem* effect : list) {
        descriptions.push_back(effect->getDescription());
        colors.push_back(effect->getColor());
        articles.push_back(effect->getArticleNumber());
    }
    EXPECT_EQ(descriptions, (std::vector<std::wstring>{L"A", L"C", L"D"}));
    EXPECT_EQ(colors, (std::vector<std::wstring>{L"", L"red", L""}));
    EXPECT_EQ(articles, (std::vector<std::wstring>{L"", L"", L""}));
}

// A price with more decimals than the file keeps is taken as the file would give it back:
// otherwise the two effects below, apart only in the seventh decimal, would be one effect
// after a save and the library would lose the second.
TEST(EffectFile, APriceBeyondSixDecimalsSurvivesASave)
{
    using namespace std::string_literals;
    EffectList first;
    ASSERT_TRUE(readBytes(effectFile({
                              u"~DES\0Red\0~PRI\0"
                              u"2.500000\0"s,
                              u"~DES\0Red\0~PRI\0"
                              u"2.5000001\0"s,
                              u"~DES\0Red\0~PRI\0"
                              u"2.500001\0"s,
                          }),
                          first));
    ASSERT_EQ(first.getCount(), 2);
    EffectList second;
    ASSERT_TRUE(readBytes(EffectFile::toBytes(first), second));
    EXPECT_EQ(records(second), records(first));
}

TEST(EffectFile, LoadsNothingFromAMissingFileAndRefusesDamagedFilesAndOtherForms)
{
    Platform::TestFolder folder;
    EffectList list;
    std::wstring error;
    EXPECT_TRUE(EffectFile::load(folder.path("missing.fwe"), list, error));
    folder.writeBytes("cut.fwe", effectFile({u"~DES\0A"}).substr(0, 20));
    EXPECT_FALSE(EffectFile::load(folder.path("cut.fwe"), list, error));
    EXPECT_EQ(error, L"ERROR.DAMAGED_FILE");
    EXPECT_EQ(list.getCount(), 0);

    folder.writeBytes("show.fwp", std::string("RIFF\x04\0\0\0FWP ", 12));
    EXPECT_FALSE(EffectFile::load(folder.path("show.fwp"), list, error));
    EXPECT_EQ(error, L"ERROR.INVALID_FWP_TODO");
}

TEST(EffectFile, AFailedStoreLeavesTheOldFileUntouched)
{
    Platform::TestFolder folder;
    EffectList list;
    list.addEffectFromText(texts({{EffectField::DESCRIPTION, L"Red"}}));
    std::wstring error;
    ASSERT_TRUE(EffectFile::save(folder.path("lib.fwe"), list, error));
    const std::string old = folder.readBytes("lib.fwe");

    list.addEffectFromText(texts({{EffectField::DESCRIPTION, L"Blue"}}));
    RiffFileWriter::failWritesAfterForTesting(40);
    const bool saved = EffectFile::save(folder.path("lib.fwe"), list, error);
    RiffFileWriter::failWritesAfterForTesting(std::nullopt);
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, L"ERROR.FAILED_TO_WRITE_TO_FILE_TODO");
    EXPECT_EQ(folder.readBytes("lib.fwe"), old);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"lib.fwe"});

    EXPECT_FALSE(EffectFile::save(folder.path("no/lib.fwe"), list, error));
    EXPECT_EQ(error, L"ERROR.FAILED_TO_OPEN_FILE_FOR_WRITING_TODO");
}

}  // namespace
}  // namespace Project
