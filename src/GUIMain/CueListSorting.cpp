#include "GUIMain/CueListSorting.h"

#include <algorithm>
#include <utility>

#include "Project/Cue.h"

namespace GUIMain {

namespace {

bool isDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

template <typename T>
int threeWay(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareTimecode(const Project::Cue& a, const Project::Cue& b)
{
    return a.getTimecode().compare(b.getTimecode());
}

int compareCommand(const Project::Cue& a, const Project::Cue& b)
{
    const Project::CueCommand& ca = a.getCommand();
    const Project::CueCommand& cb = b.getCommand();
    if (int byType = threeWay(ca.getType(), cb.getType())) {
        return byType;
    }
    const bool definedA = ca.isDefined();
    const bool definedB = cb.isDefined();
    if (definedA != definedB) {
        return definedA ? -1 : 1;
    }
    if (!definedA) {
        return 0;
    }
    if (int byUniverse = threeWay(ca.getUniverse(), cb.getUniverse())) {
        return byUniverse;
    }
    if (int byAddress = threeWay(ca.getAddress(), cb.getAddress())) {
        return byAddress;
    }
    return threeWay(ca.getValue(), cb.getValue());
}

// A cue without the key after one with it.
int compareValues(const std::wstring* a, const std::wstring* b)
{
    if (a == nullptr || b == nullptr) {
        return a == b ? 0 : (a == nullptr ? 1 : -1);
    }
    return compareNatural(*a, *b);
}

}  // namespace

int compareNatural(const std::wstring& a, const std::wstring& b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            std::size_t endA = i;
            std::size_t endB = j;
            while (endA < a.size() && isDigit(a[endA])) {
                ++endA;
            }
            while (endB < b.size() && isDigit(b[endB])) {
                ++endB;
            }
            // Padding the shorter run with zeros: a longer run wins when its extra leading
            // digits are not all zero, otherwise the aligned digits decide.
            const std::size_t lengthA = endA - i;
            const std::size_t lengthB = endB - j;
            const std::size_t width = std::max(lengthA, lengthB);
            for (std::size_t k = 0; k < width; ++k) {
                const wchar_t da = k + lengthA >= width ? a[i + k + lengthA - width] : L'0';
                const wchar_t db = k + lengthB >= width ? b[j + k + lengthB - width] : L'0';
                if (da != db) {
                    return da < db ? -1 : 1;
                }
            }
            i = endA;
            j = endB;
            continue;
        }
        if (a[i] != b[j]) {
            return a[i] < b[j] ? -1 : 1;
        }
        ++i;
        ++j;
    }
    return threeWay(a.size() - i, b.size() - j);
}

std::wstring naturalSortKey(const std::wstring& text)
{
    std::wstring key;
    key.reserve(text.size() + 2);
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isDigit(text[i])) {
            key += text[i++];
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && isDigit(text[end])) {
            ++end;
        }
        std::size_t start = i;
        while (start < end && text[start] == L'0') {
            ++start;
        }
        // The first character is a digit, so that a run meets any other character as its
        // first digit would.
        const std::size_t length = end - start;
        if (length < 9) {
            key += static_cast<wchar_t>(L'0' + length);
        } else {
            key += L'9';
            key += static_cast<wchar_t>(length);
        }
        key.append(text, start, length);
        i = end;
    }
    return key;
}

int CueComparison::operator()(const Project::Cue& a, const Project::Cue& b) const
{
    switch (column) {
        case kColumnCondition:
            if (int byFlags = threeWay(a.getFlags(), b.getFlags())) {
                return byFlags;
            }
            return compareTimecode(a, b);
        case kColumnNumber: return threeWay(a.getNumber(), b.getNumber());
        case kColumnStatus:
            // Higher states first.
            if (int byState = threeWay(b.getState(), a.getState())) {
                return byState;
            }
            return compareTimecode(a, b);
        case kColumnTimecode: return compareTimecode(a, b);
        case kColumnPrefire: return threeWay(a.getPrefireTime(), b.getPrefireTime());
        case kColumnDuration: return threeWay(a.getDuration(), b.getDuration());
        case kColumnCommand: return compareCommand(a, b);
        case kColumnGroup: return threeWay(a.getGroup(), b.getGroup());
        case kColumnQuantity: return threeWay(a.getQuantity(), b.getQuantity());
        default:
            return compareValues(a.getMetadata().valueOf(metadataKey),
                                 b.getMetadata().valueOf(metadataKey));
    }
}

void sortCues(std::vector<Project::Cue*>& cues, const CueComparison& comparison, bool ascending)
{
    if (comparison.column < kFirstMetadataColumn) {
        std::stable_sort(cues.begin(), cues.end(),
                         [&](const Project::Cue* a, const Project::Cue* b) {
                             return ascending ? comparison(*a, *b) < 0 : comparison(*b, *a) < 0;
                         });
        return;
    }
    // A metadata column: each cue's value is looked up and turned into a key that compares
    // by plain characters once, not at every comparison.
    struct Keyed {
        bool missing;
        std::wstring key;
        Project::Cue* cue;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(cues.size());
    for (Project::Cue* cue : cues) {
        const std::wstring* value = cue->getMetadata().valueOf(comparison.metadataKey);
        keyed.push_back({value == nullptr, value ? naturalSortKey(*value) : std::wstring(), cue});
    }
    const auto less = [](const Keyed& a, const Keyed& b) {
        if (a.missing != b.missing) {
            return b.missing;
        }
        return a.key < b.key;
    };
    std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        return ascending ? less(a, b) : less(b, a);
    });
    for (std::size_t i = 0; i < cues.size(); ++i) {
        cues[i] = keyed[i].cue;
    }
}

}  // namespace GUIMain
