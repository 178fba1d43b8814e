#include <gtest/gtest.h>

#include <cctype>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Config/KeyFile.h"
#include "Platform/Utf.h"

// The language files against the program's source: every localization key the code uses has
// a text in every language, and every text formats the arguments its caller passes.
//
// Which keys the code uses. The sources are the .cpp and .h files under src/ and tools/,
// without tests (*Test.cpp), fuzz targets (*Fuzz.cpp) and benchmarks (*Benchmark.cpp). A
// string literal there (plain, L, u, U or u8; raw strings and comments do not count) is a
// key literal when its whole text is upper-case words (letters, digits, "_", starting with a
// letter) joined by dots, at least two words, possibly ending in a dot. Then:
// - a literal ending in "." is the start of composed keys: at least one key of the composed
//   list below must begin with it, so that the list keeps up with the code;
// - a literal whose first word is a key family (kFamilies) is a key;
// - any other is a piece of composed keys (as "MOD.FIXTURE" in "UNDO.MOD.FIXTURE"): some
//   composed key must end with "." and it; a literal that is neither is reported, so a new
//   key family cannot slip past.
// Every key found so, and every composed key, must have a text in each language file.
//
// Placeholders. Every "%" of a text must start a printf conversion; a text that the program
// formats (kFormatted) has exactly the conversions of the arguments the caller passes, in
// order and by kind (whole number, text, real number); any other text has no "%" at all,
// since callers count the "%" of a text to decide whether they format it.
namespace Config {
namespace {

namespace fs = std::filesystem;

const fs::path kRepositoryRoot = fs::path(__FILE__).parent_path().parent_path().parent_path();

const std::vector<std::string> kLanguages = {"en-us", "nl-nl"};

const std::set<std::string> kFamilies = {
    "CHECK",    "CUECOMMAND", "CUELIST", "CUESTATE", "EFFECTS", "ERROR", "FILENAME",
    "FIXTURES", "GENERIC",    "MENU",    "MESSAGES", "PRESET",  "REDO",  "REPORTS",
    "SIDEBAR",  "STATUS",     "UNDO",    "WINDOW",   "WIZ"};

enum class Arg { INT, TEXT, REAL };
using Args = std::vector<Arg>;

// The texts the program formats, with the arguments it passes: the cue list's command
// column gives the pyro address; the channel and its level; the number of channels; the
// number of steps and the steps per minute. The cue check's reasons get the cue's number.
const std::map<std::string, Args> kFormatted = {
    {"CUECOMMAND.PYRO", {Arg::INT}},
    {"CUECOMMAND.DMX512", {Arg::INT, Arg::INT}},
    {"CUECOMMAND.DMX512.SCENE", {Arg::INT}},
    {"CUECOMMAND.DMX512.CHASE", {Arg::INT, Arg::INT}},
    // the cue check's reasons take the cue's number
    {"CHECK.NEGATIVE_PREFIRE", {Arg::INT}},
    {"CHECK.FIRES_BEFORE_ZERO", {Arg::INT}},
    {"CHECK.FIRES_AFTER_DAY", {Arg::INT}},
    {"CHECK.PREFIRE_TOO_LONG", {Arg::INT}},
    {"CHECK.NO_COMMAND", {Arg::INT}},
    {"CHECK.ADDRESS_OUT_OF_RANGE", {Arg::INT}},
    {"CHECK.UNIVERSE_OUT_OF_RANGE", {Arg::INT}},
    {"CHECK.NO_CHANNEL", {Arg::INT}},
    {"CHECK.VALUE_OUT_OF_RANGE", {Arg::INT}},
};

std::vector<std::string> prefixed(const std::string& prefix, const std::vector<std::string>& ends)
{
    std::vector<std::string> keys;
    for (const std::string& end : ends) {
        keys.push_back(prefix + end);
    }
    return keys;
}

// The keys the program puts together at run time.
std::vector<std::string> composedKeys()
{
    std::vector<std::string> keys;
    auto add = [&keys](const std::vector<std::string>& more) {
        keys.insert(keys.end(), more.begin(), more.end());
    };
    // A wizard page's header and its explanation.
    for (const char* page : {"SHOW.COMPILE",      "SHOW.COMPILE_ERROR", "SHOW.COMPILE_OK",
                             "SHOW.CONNECT",      "SHOW.CONNECT_ERROR", "SHOW.PYRO_MODE",
                             "SHOW.WIRELESS_OPT", "SHOW.MODE",          "SHOW.CLOCK_SOURCE",
                             "SHOW.FINISHED",     "NEW.START",          "NEW.SMPTE_FORMAT",
                             "NEW.WORKING",       "NEW.FINISHED",       "SCX_FMT.SMPTE_FORMAT",
                             "MIDI.START",        "MIDI.DEVICES",       "REPORTS.START",
                             "REPORTS.PYRO",      "REPORTS.LOCATION",   "REPORTS.CSV.SUCCESS"}) {
        add({std::string("WIZ.") + page + ".HEADER", std::string("WIZ.") + page + ".HEADER_EX"});
    }
    // A wizard choice and its explanation, the choice key followed by "_EX"; the radio
    // channels share one explanation.
    const std::vector<std::string> formats = {"24", "25", "30DF", "30"};
    std::vector<std::string> choices = {"WIZ.SHOW.PYRO_MODE.WIRELESS",
                                        "WIZ.SHOW.PYRO_MODE.WIRED",
                                        "WIZ.SHOW.MODE.AUTO_FIRE",
                                        "WIZ.SHOW.MODE.MANUAL_FIRE",
                                        "WIZ.SHOW.CLOCK_SOURCE.AUDIO",
                                        "WIZ.SHOW.CLOCK_SOURCE.OUT",
                                        "WIZ.SHOW.CLOCK_SOURCE.IN",
                                        "WIZ.NEW.FINISHED.SELECT_AUDIO",
                                        "WIZ.MIDI.BUTTON.SLAVE",
                                        "WIZ.MIDI.BUTTON.MASTER",
                                        "WIZ.MIDI.BUTTON.NONE",
                                        "WIZ.REPORTS.BUTTON.SHOW",
                                        "WIZ.REPORTS.BUTTON.LOADREPORT",
                                        "WIZ.REPORTS.BUTTON.BUNKERREPORT",
                                        "WIZ.REPORTS.BUTTON.LOCATIONREPORT",
                                        "WIZ.REPORTS.BUTTON.INVENTORYREPORT",
                                        "WIZ.REPORTS.BUTTON.CSV",
                                        "WIZ.REPORTS.PYRO.BUTTON.INCLUDE",
                                        "WIZ.REPORTS.PYRO.BUTTON.EXCLUDE",
                                        "WIZ.REPORTS.PYRO.BUTTON.OVERVIEW",
                                        "WIZ.REPORTS.LOCATION.BUTTON.INCLUDE",
                                        "WIZ.REPORTS.LOCATION.BUTTON.EXCLUDE"};
    for (const std::string& format : formats) {
        choices.push_back("WIZ.NEW.SMPTE_FORMAT." + format);
        choices.push_back("WIZ.SCX_FMT.SMPTE_FORMAT." + format);
    }
    for (const std::string& choice : choices) {
        add({choice, choice + "_EX"});
    }
    add(prefixed("WIZ.SHOW.WIRELESS_OPT.", {"CH1", "CH2", "CH3", "CH4", "CHX_EX"}));
    // The effect screen's field edits name the field; any other field number gives NOTHING.
    const std::vector<std::string> effectFields = {
        "DESCRIPTION",    "ARTICLENUMBER", "DURATION", "CALIBER", "PRICE", "MANUFACTURER",
        "PREFIRE",        "HEIGHT",        "COLOR",    "TYPE",    "ANGLE", "VANSHAPE",
        "CLASSIFICATION", "WEIGHT",        "DISTANCE", "NOTHING"};
    add(prefixed("UNDO.EFFECT.", effectFields));
    add(prefixed("REDO.EFFECT.", effectFields));
    // The fixture screen's field edits.
    const std::vector<std::string> fixtureFields = {"MOD.FIXTURE_DESCRIPTION",
                                                    "MOD.FIXTURE_PRODUCTNAME",
                                                    "MOD.FIXTURE_MANUFACTURER", "MOD.FIXTURE"};
    add(prefixed("UNDO.", fixtureFields));
    add(prefixed("REDO.", fixtureFields));
    // Report columns.
    add(prefixed(
        "REPORTS.PYROLIST.HEADER.",
        {"QTY", "DESCRIPTION", "MANUFACTURER", "ARTNR", "CLASSIFICATION", "CALIBRE", "NETWEIGHT",
         "HEIGHT", "VANSHAPE", "DISTANCE", "SUBWEIGHT", "TYPE", "UNITPRICE", "SUBTOTPRICE"}));
    add(prefixed("REPORTS.LOADINGLIST.HEADER.", {"MODULE", "PIN", "QTY", "CONTENT", "ANGLE"}));
    // The fixture patch screen's radio buttons, named by mode.
    add(prefixed("PRESET.SCREEN.PATCH.RADIOBUTTON.", {"ALTERNATE", "ODD", "EVEN", "LEFT", "RIGHT",
                                                      "LEFTRIGHT", "MANUALENTRY", "SAME"}));
    add(prefixed("PRESET.SCREEN.LOCATION.RADIOBUTTON.", {"RESET", "SCENE", "CHASE", "OWN.SCENE"}));
    return keys;
}

struct Literal {
    std::string text;  // as written between the quotes, escapes untouched
    int line;
};

bool isIdentifierChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The string literals of C++ source text, without those in comments and raw strings.
std::vector<Literal> stringLiterals(const std::string& source)
{
    std::vector<Literal> literals;
    int line = 1;
    std::size_t i = 0;
    const std::size_t n = source.size();
    // Reads a quoted literal starting at the quote at i; returns its text.
    auto quoted = [&](char quote) {
        std::string text;
        ++i;
        while (i < n && source[i] != quote && source[i] != '\n') {
            if (source[i] == '\\' && i + 1 < n) {
                text += source[i++];
            }
            text += source[i++];
        }
        ++i;  // the closing quote
        return text;
    };
    while (i < n) {
        const char c = source[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (source.compare(i, 2, "//") == 0) {
            while (i < n && source[i] != '\n') {
                ++i;
            }
        } else if (source.compare(i, 2, "/*") == 0) {
            const std::size_t end = source.find("*/", i + 2);
            const std::size_t stop = end == std::string::npos ? n : end + 2;
            for (; i < stop; ++i) {
                line += source[i] == '\n';
            }
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            // a number, with digit separators such as 1'000
            while (i < n &&
                   (isIdentifierChar(source[i]) || source[i] == '.' || source[i] == '\'')) {
                ++i;
            }
        } else if (isIdentifierChar(c)) {
            const std::size_t start = i;
            while (i < n && isIdentifierChar(source[i])) {
                ++i;
            }
            const std::string word = source.substr(start, i - start);
            if (i < n && source[i] == '"' && !word.empty() && word.back() == 'R' &&
                (word == "R" || word == "LR" || word == "uR" || word == "UR" || word == "u8R")) {
                const std::size_t open = source.find('(', i);
                const std::string close = ")" + source.substr(i + 1, open - i - 1) + "\"";
                const std::size_t end = source.find(close, open);
                const std::size_t stop = end == std::string::npos ? n : end + close.size();
                for (; i < stop; ++i) {
                    line += source[i] == '\n';
                }
            }
            // Other prefixes (L, u, U, u8) are left for the quote that follows.
        } else if (c == '"') {
            const int at = line;
            literals.push_back({quoted('"'), at});
        } else if (c == '\'') {
            quoted('\'');
        } else {
            ++i;
        }
    }
    return literals;
}

// Upper-case words joined by dots, at least two, perhaps with a dot at the end.
bool isKeyLiteral(const std::string& text)
{
    std::size_t dots = 0;
    bool wordStart = true;
    for (const char c : text) {
        if (c == '.') {
            if (wordStart) {
                return false;
            }
            ++dots;
            wordStart = true;
        } else if ((c >= 'A' && c <= 'Z') || (!wordStart && ((c >= '0' && c <= '9') || c == '_'))) {
            wordStart = false;
        } else if (c >= '0' && c <= '9' && dots > 0) {
            wordStart = false;  // a later word may start with a digit ("SMPTE_FORMAT.24")
        } else {
            return false;
        }
    }
    return dots > 0 && !text.empty() && text.front() >= 'A' && text.front() <= 'Z';
}

// The argument kinds of a text's conversions; nothing when a "%" starts no conversion.
std::optional<Args> conversions(const std::wstring& text)
{
    Args args;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'%') {
            continue;
        }
        ++i;
        while (i < text.size() && std::wstring(L"-+ #0").find(text[i]) != std::wstring::npos) {
            ++i;
        }
        while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
            ++i;
        }
        if (i < text.size() && text[i] == L'.') {
            ++i;
            while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
                ++i;
            }
        }
        for (const wchar_t* length : {L"hh", L"ll", L"h", L"l", L"L", L"w", L"z", L"j", L"t"}) {
            if (text.compare(i, std::wcslen(length), length) == 0) {
                i += std::wcslen(length);
                break;
            }
        }
        if (i >= text.size()) {
            return std::nullopt;
        }
        const wchar_t conversion = text[i];
        if (std::wstring(L"diouxXc").find(conversion) != std::wstring::npos) {
            args.push_back(Arg::INT);
        } else if (conversion == L's' || conversion == L'S') {
            args.push_back(Arg::TEXT);
        } else if (std::wstring(L"fFeEgGaA").find(conversion) != std::wstring::npos) {
            args.push_back(Arg::REAL);
        } else {
            return std::nullopt;
        }
    }
    return args;
}

std::string describe(const std::optional<Args>& args)
{
    if (!args) {
        return "a % that starts no conversion";
    }
    static const char* const names[] = {"number", "text", "real"};
    std::string text = std::to_string(args->size()) + " conversions (";
    for (std::size_t i = 0; i < args->size(); ++i) {
        text += (i ? ", " : "") + std::string(names[static_cast<int>((*args)[i])]);
    }
    return text + ")";
}

// Where each key literal of the program's sources is used: key text to "file:line".
std::map<std::string, std::string> keyLiterals()
{
    std::map<std::string, std::string> found;
    for (const char* folder : {"src", "tools"}) {
        for (const fs::directory_entry& entry :
             fs::recursive_directory_iterator(kRepositoryRoot / folder)) {
            const fs::path& path = entry.path();
            const std::string extension = path.extension().string();
            if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) {
                continue;
            }
            const std::string stem = path.stem().string();
            auto endsWith = [&stem](const std::string& end) {
                return stem.size() >= end.size() &&
                       stem.compare(stem.size() - end.size(), end.size(), end) == 0;
            };
            if (extension == ".cpp" &&
                (endsWith("Test") || endsWith("Fuzz") || endsWith("Benchmark"))) {
                continue;
            }
            std::ifstream in(path, std::ios::binary);
            std::stringstream bytes;
            bytes << in.rdbuf();
            for (const Literal& literal : stringLiterals(bytes.str())) {
                if (isKeyLiteral(literal.text)) {
                    found.emplace(literal.text, fs::relative(path, kRepositoryRoot).string() + ":" +
                                                    std::to_string(literal.line));
                }
            }
        }
    }
    return found;
}

class LocaleFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const std::string& language : kLanguages) {
            const fs::path path = kRepositoryRoot / "locale" / (language + ".ini");
            ASSERT_TRUE(KeyFile::read(Platform::fromUtf8(path.string()), texts[language])) << path;
        }
    }

    // Reports a missing text of `key` in any language; `where` says who uses it.
    void expectText(const std::string& key, const std::string& where,
                    std::vector<std::string>& problems) const
    {
        for (const std::string& language : kLanguages) {
            if (texts.at(language).count(Platform::fromUtf8(key)) == 0) {
                problems.push_back(key + " (" + where + ") has no text in " + language + ".ini");
            }
        }
    }

    std::map<std::string, KeyMap> texts;
};

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += "\n  " + line;
    }
    return text;
}

TEST(LocaleSourceScan, FindsTheLiteralsOfCode)
{
    const std::string source =
        "#include \"Config/Settings.h\"\n"
        "// tr(L\"IN.COMMENT\")\n"
        "/* \"IN.BLOCK\"\n \"COMMENT.TOO\" */\n"
        "const int n = 1'000'000; char q = '\"'; char e = '\\'';\n"
        "auto a = tr(L\"ERROR.GENERIC\") + u8\"X.Y\" \"TAIL.\";\n"
        "auto r = R\"x(\"RAW.KEY\")x\"; auto s = \"say \\\"HI.THERE\\\"\";\n"
        "auto last = \"WIZ.NEW.SMPTE_FORMAT.30DF\";\n";
    std::vector<std::string> texts;
    std::vector<int> lines;
    for (const Literal& literal : stringLiterals(source)) {
        texts.push_back(literal.text);
        lines.push_back(literal.line);
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{"Config/Settings.h", "ERROR.GENERIC", "X.Y", "TAIL.",
                                        "say \\\"HI.THERE\\\"", "WIZ.NEW.SMPTE_FORMAT.30DF"}));
    EXPECT_EQ(lines, (std::vector<int>{1, 6, 6, 6, 7, 8}));
}

TEST(LocaleSourceScan, KeyLiteralsAreUpperCaseDottedWords)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"ERROR.GENERIC", true},
        {"WIZ.SHOW.WIRELESS_OPT.CHX_EX", true},
        {"WIZ.NEW.SMPTE_FORMAT.30DF", true},
        {"UNDO.EFFECT.", true},
        {"MOD.FIXTURE", true},
        {"RIFF", false},           // a file tag
        {"keys.00000020", false},  // a setting
        {"Config/Settings.h", false},
        {"A.....MS", false},
        {".HEADER", false},
        {"ERROR.generic", false},
        {"_X.Y", false},
        {"ERROR. GENERIC", false},
    };
    for (const auto& [text, isKey] : cases) {
        EXPECT_EQ(isKeyLiteral(text), isKey) << text;
    }
}

TEST(LocaleSourceScan, ConversionsByKind)
{
    const std::vector<std::pair<std::wstring, std::optional<Args>>> cases = {
        {L"Pyro %03X", Args{Arg::INT}},
        {L"DMX channel %d at %d", Args{Arg::INT, Arg::INT}},
        {L"%-4ls and %.2f and %u", Args{Arg::TEXT, Arg::REAL, Arg::INT}},
        {L"no marks", Args{}},
        {L"100%", std::nullopt},
        {L"100%% sure", std::nullopt},
        {L"%y", std::nullopt},
    };
    for (const auto& [text, args] : cases) {
        EXPECT_EQ(conversions(text), args) << Platform::toUtf8(text);
    }
}

TEST_F(LocaleFilesTest, EveryKeyOfTheCodeHasATextInEveryLanguage)
{
    const std::map<std::string, std::string> used = keyLiterals();
    // A scan that finds nothing (a moved folder, a broken reader) must not pass.
    ASSERT_TRUE(used.count("ERROR.GENERIC") && used.count("UNDO.NOTHING") &&
                used.count("CUECOMMAND.PYRO"))
        << "the source scan misses keys the program certainly uses";

    const std::vector<std::string> composed = composedKeys();
    std::vector<std::string> problems;
    for (const auto& [key, where] : used) {
        const std::string family = key.substr(0, key.find('.'));
        if (key.back() == '.') {
            bool begins = false;
            for (const std::string& full : composed) {
                begins = begins || full.compare(0, key.size(), key) == 0;
            }
            // A prefix the code puts before a name it computes ("EFFECTS.COLUMN." + field), or
            // a piece it searches keys for: some key of the file has to begin with it or hold
            // it after a dot.
            for (const auto& [fileKey, text] : texts.at("en-us")) {
                const std::string full = Platform::toUtf8(fileKey);
                begins = begins || full.compare(0, key.size(), key) == 0 ||
                         full.find("." + key) != std::string::npos;
            }
            if (!begins) {
                problems.push_back(key + " (" + where +
                                   ") starts composed keys that the test's list lacks");
            }
        } else if (kFamilies.count(family)) {
            // Some are pieces the code completes: a wizard page's name ("WIZ." + page +
            // ".HEADER") or a stem followed by a number ("...CH" + channel).
            bool piece = false;
            for (const std::string& full : composed) {
                piece = piece || full.find("." + key + ".") != std::string::npos;
            }
            for (const auto& [fileKey, text] : texts.at("en-us")) {
                const std::string full = Platform::toUtf8(fileKey);
                piece =
                    piece || (full.size() > key.size() && full.compare(0, key.size(), key) == 0 &&
                              std::isdigit(static_cast<unsigned char>(full[key.size()])));
            }
            if (!piece) {
                expectText(key, where, problems);
            }
        } else {
            bool ends = false;
            for (const std::string& full : composed) {
                ends = ends ||
                       (full.size() > key.size() && full.compare(full.size() - key.size() - 1,
                                                                 key.size() + 1, "." + key) == 0) ||
                       // a wizard page's name in the middle ("WIZ." + page + ".HEADER")
                       full.find("." + key + ".") != std::string::npos;
            }
            if (!ends) {
                problems.push_back(key + " (" + where +
                                   ") is neither of a key family nor part of a composed key");
            }
        }
    }
    for (const std::string& key : composed) {
        expectText(key, "composed", problems);
    }
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems:" << joined(problems);
}

TEST_F(LocaleFilesTest, EveryTextFormatsWhatItsCallerPasses)
{
    std::vector<std::string> problems;
    for (const auto& [language, entries] : texts) {
        for (const auto& [wideKey, text] : entries) {
            const std::string key = Platform::toUtf8(wideKey);
            const auto formatted = kFormatted.find(key);
            const Args expected = formatted == kFormatted.end() ? Args{} : formatted->second;
            const std::optional<Args> found = conversions(text);
            if (found != expected) {
                problems.push_back(language + ".ini " + key + " has " + describe(found) +
                                   ", its caller passes " + describe(expected));
            }
        }
    }
    for (const auto& [key, args] : kFormatted) {
        for (const std::string& language : kLanguages) {
            EXPECT_EQ(texts.at(language).count(Platform::fromUtf8(key)), 1u)
                << language << " " << key;
        }
    }
    EXPECT_TRUE(problems.empty()) << problems.size() << " problems:" << joined(problems);
}

}  // namespace
}  // namespace Config
