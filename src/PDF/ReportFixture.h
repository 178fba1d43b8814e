#pragma once

// For the tests of the reports: a project to fill with cues, a translation table, and the
// written report read back as words on pages.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "PDF/OperationSaveReport.h"
#include "PDF/ReportTestSupport.h"
#include "Platform/TestFolder.h"
#include "Platform/Utf.h"
#include "Project/ProjectData.h"

namespace PDF::Testing {

class ReportFixture : public ::testing::Test {
protected:
    ReportFixture() { data.setFormat(SMPTE::SMPTE_25); }

    // A key without a text in `texts` comes back as itself, as the program shows it.
    Translate translate()
    {
        return [this](const std::wstring& key) {
            const auto found = texts.find(key);
            return found == texts.end() ? key : found->second;
        };
    }

    Project::Cue* addPyro(int frame, int address,
                          std::vector<std::pair<std::wstring, std::wstring>> meta = {},
                          int quantity = 1)
    {
        Project::Cue* cue =
            data.getCueList().add(SMPTE::fromFrameNo(data.getFormat(), frame),
                                  Project::CueCommand::pyro(address), 0, 0, 1, -1, "");
        for (const auto& [key, value] : meta) {
            cue->getMetadata().insert(-1, key, value);
        }
        cue->setQuantity(quantity);
        return cue;
    }

    std::vector<Page> render(OperationSaveReport::Kind kind, bool include = true,
                             bool overview = false)
    {
        const std::string path = (folder.root() / "report.pdf").string();
        OperationSaveReport operation(Platform::fromUtf8(path), kind, include, overview,
                                      translate());
        EXPECT_TRUE(operation.execute(data));
        return readPages(path);
    }

    Platform::TestFolder folder;
    Project::ProjectData data;
    std::map<std::wstring, std::wstring> texts;
};

// The texts of the words of a page, for messages.
inline std::string words(const std::vector<const Word*>& found)
{
    std::string all;
    for (const Word* word : found) {
        all += (all.empty() ? "" : " ") + word->text;
    }
    return all;
}

}  // namespace PDF::Testing
