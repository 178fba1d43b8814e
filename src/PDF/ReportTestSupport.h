#pragma once

// For the tests of the reports: the words of a PDF file with their boxes, as the poppler
// tool pdftotext finds them, in millimetres from the lower left corner of each page. The
// tests check what a reader sees on paper, not the bytes the PDF library wrote.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace PDF::Testing {

struct Word {
    std::string text;  // UTF-8
    double left, right, bottom, top;
    // True when a text line with this baseline would run through the word's box.
    bool onBaseline(double y) const { return bottom < y && y < top; }
};

struct Page {
    double width = 0;
    double height = 0;
    std::vector<Word> words;

    std::vector<const Word*> find(const std::string& text) const
    {
        std::vector<const Word*> found;
        for (const Word& word : words) {
            if (word.text == text) {
                found.push_back(&word);
            }
        }
        return found;
    }
    // The words whose box contains the baseline, left to right.
    std::vector<const Word*> line(double y) const
    {
        std::vector<const Word*> found;
        for (const Word& word : words) {
            if (word.onBaseline(y)) {
                found.push_back(&word);
            }
        }
        std::stable_sort(found.begin(), found.end(),
                         [](const Word* a, const Word* b) { return a->left < b->left; });
        return found;
    }
    // Every word joined by blanks as a reader goes: lines from the top, each left to right.
    // Words share a line when their vertical middles are within half a word's height.
    std::string text() const
    {
        std::vector<const Word*> sorted;
        for (const Word& word : words) {
            sorted.push_back(&word);
        }
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const Word* a, const Word* b) { return a->top > b->top; });
        std::vector<std::vector<const Word*>> lines;
        for (const Word* word : sorted) {
            const double middle = (word->top + word->bottom) / 2;
            if (lines.empty() || std::abs((lines.back()[0]->top + lines.back()[0]->bottom) / 2 -
                                          middle) > (word->top - word->bottom) / 2) {
                lines.emplace_back();
            }
            lines.back().push_back(word);
        }
        std::string all;
        for (auto& line : lines) {
            std::stable_sort(line.begin(), line.end(),
                             [](const Word* a, const Word* b) { return a->left < b->left; });
            for (const Word* word : line) {
                all += (all.empty() ? "" : " ") + word->text;
            }
        }
        return all;
    }
};

inline std::string decodeEntities(std::string text)
{
    static const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"},   {"&gt;", ">"},  {"&quot;", "\""},
        {"&apos;", "'"}, {"&#39;", "'"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : entities) {
        for (std::size_t at = text.find(entity); at != std::string::npos;
             at = text.find(entity, at + 1)) {
            text.replace(at, std::string(entity).size(), character);
        }
    }
    return text;
}

// Runs pdftotext -bbox on the file. An empty result fails the calling test.
inline std::vector<Page> readPages(const std::string& pdfPath)
{
    const std::string htmlPath = pdfPath + ".html";
    const std::string command = "pdftotext -bbox '" + pdfPath + "' '" + htmlPath + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(htmlPath);
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::remove(htmlPath.c_str());
    const std::string html = buffer.str();

    constexpr double kPointsPerMm = 72.0 / 25.4;
    const std::regex pageTag(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re");
    const std::regex wordTag(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    std::vector<Page> pages;
    std::istringstream lines(html);
    std::string line;
    std::smatch match;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, match, pageTag)) {
            pages.push_back(
                {std::stod(match[1]) / kPointsPerMm, std::stod(match[2]) / kPointsPerMm, {}});
        } else if (std::regex_search(line, match, wordTag) && !pages.empty()) {
            const double height = pages.back().height * kPointsPerMm;
            pages.back().words.push_back(
                {decodeEntities(match[5]), std::stod(match[1]) / kPointsPerMm,
                 std::stod(match[3]) / kPointsPerMm, (height - std::stod(match[4])) / kPointsPerMm,
                 (height - std::stod(match[2])) / kPointsPerMm});
        }
    }
    EXPECT_FALSE(pages.empty()) << "no pages in " << pdfPath;
    return pages;
}

}  // namespace PDF::Testing
