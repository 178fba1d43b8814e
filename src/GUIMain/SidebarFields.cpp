#include "GUIMain/SidebarFields.h"

#include <cmath>
#include <cstdio>
#include <cwctype>

#include "Platform/Utf.h"
#include "Project/Cue.h"
#include "Project/CueCommand.h"
#include "Project/CueList.h"
#include "Project/Operations/OperationCueTimecodes.h"
#include "Project/Operations/OperationSetCueValue.h"
#include "Project/Operations/OperationSetGroupName.h"
#include "Project/Operations/OperationSetReminder.h"
#include "Timecode/SMPTE.h"
#include "Timecode/TimecodeParser.h"

namespace GUIMain::SidebarFields {

namespace {

using Project::Cue;
using Project::CueCommand;
using Value = Project::OperationSetCueValue;

bool isPyro(const Cue& cue)
{
    return cue.getCommand().getType() == CueCommand::TYPE_PYRO;
}

bool isDmx(const Cue& cue)
{
    return cue.getCommand().getType() == CueCommand::TYPE_DMX512;
}

std::wstring format(const wchar_t* pattern, int value)
{
    wchar_t buffer[32];
    std::swprintf(buffer, 32, pattern, value);
    return buffer;
}

int prefireTenths(const Cue& cue)
{
    const double fps = SMPTE::framesPerSecond(cue.getTimecode().getFormat());
    return static_cast<int>(std::trunc(cue.getPrefireTime() * 10.0 / fps + 0.5));
}

// Whether two cues give the same text for the kind, compared on the values behind the texts.
bool sameValue(int kind, const Cue& a, const Cue& b)
{
    const CueCommand& x = a.getCommand();
    const CueCommand& y = b.getCommand();
    switch (kind) {
        case kTimecode:
            return a.getTimecode().getFormat() == b.getTimecode().getFormat() &&
                   a.getTimecode().getFrameNo() == b.getTimecode().getFrameNo();
        case kPrefire: return prefireTenths(a) == prefireTenths(b);
        case kGroup: return a.getGroup() == b.getGroup();
        case kPyroAddress:
        case kDmxChannel: return x.getAddress() == y.getAddress();
        case kDmxUniverse:
            return x.isDefined() == y.isDefined() &&
                   (!x.isDefined() || x.getUniverse() == y.getUniverse());
        case kDmxValue: return x.getValue() == y.getValue();
        case kDuration:
            return a.getDuration() == b.getDuration() &&
                   a.getTimecode().getFormat() == b.getTimecode().getFormat();
        case kQuantity: return a.getQuantity() == b.getQuantity();
        case kReminder: return a.getReminderText() == b.getReminderText();
        case kGroupName: return a.getGroupName() == b.getGroupName();
        case kDmxText: return x.getDmxText() == y.getDmxText();
        case kChaseSpeed: return x.getChaseBpm() == y.getChaseBpm();
        default: return true;
    }
}

constexpr std::array<int, 13> kKinds{kTimecode,   kPrefire,  kGroup,     kPyroAddress, kDmxUniverse,
                                     kDmxChannel, kDmxValue, kDuration,  kQuantity,    kReminder,
                                     kGroupName,  kDmxText,  kChaseSpeed};

std::wstring trimmed(const std::wstring& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && std::iswspace(text[begin])) {
        ++begin;
    }
    while (end > begin && std::iswspace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

bool parseIn(const std::wstring& text, int base, int& value)
{
    const std::wstring digits = trimmed(text);
    if (digits.empty()) {
        return false;
    }
    long long result = 0;
    for (const wchar_t c : digits) {
        int digit = -1;
        if (c >= L'0' && c <= L'9') {
            digit = c - L'0';
        } else if (base == 16 && c >= L'a' && c <= L'f') {
            digit = c - L'a' + 10;
        } else if (base == 16 && c >= L'A' && c <= L'F') {
            digit = c - L'A' + 10;
        }
        if (digit < 0) {
            return false;
        }
        result = result * base + digit;
        if (result > 0x7FFFFFFF) {
            return false;
        }
    }
    value = static_cast<int>(result);
    return true;
}

// A number of the field's base within [least, most]; else refused.
Commit numberCommit(const std::wstring& text, int base, int least, int most, int valueType,
                    int storedOffset = 0)
{
    Commit result;
    int n = 0;
    if (!parseIn(text, base, n) || n < least || n > most) {
        result.refused = true;
        return result;
    }
    result.operations.push_back(std::make_unique<Value>(valueType, n + storedOffset));
    return result;
}

}  // namespace

bool parseDecimal(const std::wstring& text, int& value)
{
    return parseIn(text, 10, value);
}

bool parseHex(const std::wstring& text, int& value)
{
    return parseIn(text, 16, value);
}

bool considers(int kind, const Cue& cue)
{
    switch (kind) {
        case kPyroAddress: return isPyro(cue);
        case kDmxUniverse:
        case kDmxChannel:
        case kDmxValue:
        case kDmxText:
        case kChaseSpeed: return isDmx(cue);
        default: return true;
    }
}

std::wstring textOf(int kind, const Cue& cue)
{
    const CueCommand& command = cue.getCommand();
    const bool hasAddress = command.getAddress() != CueCommand::kNoAddress;
    switch (kind) {
        case kTimecode: return cue.getTimecode().toString();
        case kPrefire: return format(L"%d", prefireTenths(cue));
        case kGroup: return format(L"%02d", cue.getGroup());
        case kPyroAddress: return hasAddress ? format(L"%03X", command.getAddress()) : L"";
        case kDmxUniverse:
            return command.isDefined() ? format(L"%02X", command.getUniverse()) : L"";
        case kDmxChannel: return hasAddress ? format(L"%d", command.getAddress() + 1) : L"";
        case kDmxValue: return format(L"%d", command.getValue());
        case kDuration:
            return SMPTE::fromFrameNo(cue.getTimecode().getFormat(), cue.getDuration()).toString();
        case kQuantity: return format(L"%d", cue.getQuantity());
        case kReminder: return Platform::fromLowBytes(cue.getReminderText());
        case kGroupName: return Platform::fromLowBytes(cue.getGroupName());
        case kDmxText: return Platform::fromLowBytes(command.getDmxText());
        case kChaseSpeed: return format(L"%d", command.getChaseBpm());
        default: return L"";
    }
}

Summary summarize(const Project::CueList& cues)
{
    Summary summary;
    std::array<const Cue*, kKindCount> first{};
    std::array<bool, kKindCount> differs{};
    for (const Project::CueList::CueItem* cue = cues.first(); cue != cues.end();
         cue = cue->getNext()) {
        if (!cue->isSelected()) {
            continue;
        }
        ++summary.selectedCount;
        const CueCommand& command = cue->getCommand();
        if (isPyro(*cue)) {
            summary.flags |= Summary::kAnyPyro;
            summary.flags |= cue->getPyroType() == Cue::PYRO_PARALLEL ? Summary::kAnyParallel
                                                                      : Summary::kAnySingle;
        } else if (isDmx(*cue)) {
            summary.flags |= Summary::kAnyDmx;
            summary.flags |= command.getChasePath() == CueCommand::CHASE_BLOCK ? Summary::kAnyBlock
                                                                               : Summary::kAnySine;
        } else if (command.getType() == CueCommand::TYPE_REMINDER) {
            summary.flags |= Summary::kAnyReminder;
        }
        if (cue->getFixtureChannelValues().size() > 1 || cue->getMetadata().size() > 0) {
            summary.flags |= Summary::kAnyEffectData;
        }
        for (const int kind : kKinds) {
            if (differs[kind] || !considers(kind, *cue)) {
                continue;
            }
            if (first[kind] == nullptr) {
                first[kind] = cue;
            } else if (!sameValue(kind, *first[kind], *cue)) {
                differs[kind] = true;
            }
        }
    }
    for (const int kind : kKinds) {
        if (differs[kind]) {
            summary.texts[kind] = kDiffering;
        } else if (first[kind] != nullptr) {
            summary.texts[kind] = textOf(kind, *first[kind]);
        }
    }
    return summary;
}

Commit commit(int kind, const std::wstring& text, int format)
{
    Commit result;
    if (text == kDiffering) {
        return result;
    }
    switch (kind) {
        case kTimecode:
        case kDuration:
        case kPrefire: {
            const int frames = kind == kPrefire ? ::parseTimecodeOrTenths(text, format)
                                                : ::parseTimecode(text, format);
            if (frames < 0) {
                result.refused = true;
            } else if (kind == kTimecode) {
                result.operations.push_back(
                    std::make_unique<Project::OperationSetTimecode>(frames));
            } else {
                result.operations.push_back(std::make_unique<Value>(
                    kind == kPrefire ? Value::PREFIRE_TIME : Value::DURATION, frames));
            }
            return result;
        }
        case kGroup: return numberCommit(text, 10, 1, 16, Value::GROUP);
        case kPyroAddress:
            if (trimmed(text).empty()) {
                result.operations.push_back(
                    std::make_unique<Value>(Value::PYRO_ADDRESS, CueCommand::kNoAddress));
                return result;
            }
            return numberCommit(text, 16, 0, 0xFFF, Value::PYRO_ADDRESS);
        case kDmxUniverse: return numberCommit(text, 16, 0, 0x7F, Value::DMX_UNIVERSE);
        case kDmxChannel: return numberCommit(text, 10, 1, 512, Value::DMX_CHANNEL, -1);
        case kDmxValue: return numberCommit(text, 10, 0, 255, Value::DMX_VALUE);
        case kQuantity: return numberCommit(text, 10, 0, 0x7FFFFFFF, Value::QUANTITY);
        case kChaseSpeed: return numberCommit(text, 10, 0, 1000, Value::DMX_CHASE_BPM);
        case kReminder:
            result.operations.push_back(std::make_unique<Project::OperationSetReminder>(text));
            return result;
        case kGroupName:
            result.operations.push_back(std::make_unique<Project::OperationSetGroupName>(text));
            return result;
        case kDmxText: {
            // Checked here, so that a text the grammar does not take gets the field's message
            // rather than a failed operation.
            CueCommand probe = CueCommand::dmx(0, 0, 0);
            if (!probe.setDmxText(Platform::toLowBytes(text))) {
                result.refused = true;
                return result;
            }
            result.operations.push_back(std::make_unique<Value>(text));
            if (text.empty()) {
                result.operations.push_back(
                    std::make_unique<Value>(Value::DMX_CHANNEL, CueCommand::kNoAddress));
            }
            return result;
        }
        default: return result;
    }
}

}  // namespace GUIMain::SidebarFields
