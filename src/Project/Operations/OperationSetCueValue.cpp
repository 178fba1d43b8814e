#include "Project/Operations/OperationSetCueValue.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>

#include "Platform/Utf.h"
#include "Project/Operations/CueValueLimits.h"
#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

namespace {

struct Texts {
    const wchar_t* undo;
    const wchar_t* redo;
};

// By value type.
constexpr Texts kTexts[] = {
    {L"UNDO.MOD_PFT", L"REDO.MOD_PFT"},
    {L"UNDO.MOD_GROUP", L"REDO.MOD_GROUP"},
    {L"UNDO.MOD_PYRO_ADDRESS", L"REDO.MOD_PYRO_ADDRESS"},
    {L"UNDO.MOD_DMX_UNIVERSE", L"REDO.MOD_DMX_UNIVERSE"},
    {L"UNDO.MOD_DMX_CHANNEL", L"REDO.MOD_DMX_CHANNEL"},
    {L"UNDO.MOD_DMX_VALUE", L"REDO.MOD_DMX_VALUE"},
    {L"UNDO.MOD_DURATION", L"REDO.MOD_DURATION"},
    {L"UNDO.MOD_CUE", L"REDO.MOD_CUE"},
    {L"UNDO.MOD_QTY", L"REDO.MOD_QTY"},
    {L"UNDO.MOD_PYRO_TYPE", L"REDO.MOD_PYRO_TYPE"},
    {L"UNDO.MOD_DMX_CHASE_BPM", L"REDO.MOD_DMX_CHASE_BPM"},
    {L"UNDO.MOD_DMX_COMMAND", L"REDO.MOD_DMX_COMMAND"},
    {L"UNDO.MOD_DMX_CHASE_TYPE", L"REDO.MOD_DMX_CHASE_TYPE"},
};

constexpr int kTypeCount = static_cast<int>(std::size(kTexts));

bool isDmx(const Cue& cue)
{
    return cue.getCommand().getType() == CueCommand::TYPE_DMX512;
}

bool isPyro(const Cue& cue)
{
    return cue.getCommand().getType() == CueCommand::TYPE_PYRO;
}

// A DMX command with the cue's universe, channel and value.
CueCommand dmxLike(const CueCommand& command)
{
    return CueCommand::dmx(command.getUniverse(), command.getAddress(), command.getValue());
}

}  // namespace

OperationSetCueValue::OperationSetCueValue(const std::wstring& dmxText)
    : type_(DMX_TEXT), text_(Platform::toLowBytes(dmxText))
{
}

std::wstring OperationSetCueValue::getUndoText() const
{
    return type_ >= 0 && type_ < kTypeCount ? kTexts[type_].undo : L"UNDO.NOTHING";
}

std::wstring OperationSetCueValue::getRedoText() const
{
    return type_ >= 0 && type_ < kTypeCount ? kTexts[type_].redo : L"REDO.NOTHING";
}

bool OperationSetCueValue::appliesTo(const Cue& cue) const
{
    switch (type_) {
        case PREFIRE_TIME:
        case GROUP:
        case QUANTITY:
        case PYRO_TYPE: return true;
        case PYRO_ADDRESS: return isPyro(cue);
        case DMX_UNIVERSE:
        case DMX_CHANNEL:
        case DMX_VALUE:
        case DMX_CHASE_BPM:
        case DMX_TEXT:
        case DMX_CHASE_PATH: return isDmx(cue);
        case DURATION: return isPyro(cue) || isDmx(cue);
        case COMMAND_WORD:
            return cue.getCommand().getType() !=
                   CueCommand::fromCommandWord(static_cast<uint32_t>(value_)).getType();
        default: return false;
    }
}

bool OperationSetCueValue::changesCommand() const
{
    switch (type_) {
        case PYRO_ADDRESS:
        case DMX_UNIVERSE:
        case DMX_CHANNEL:
        case DMX_VALUE:
        case COMMAND_WORD:
        case DMX_CHASE_BPM:
        case DMX_TEXT:
        case DMX_CHASE_PATH: return true;
        default: return false;
    }
}

void OperationSetCueValue::record(const Cue& cue)
{
    const CueCommand& command = cue.getCommand();
    Record record;
    switch (type_) {
        case PREFIRE_TIME: record.oldValue = cue.getPrefireTime(); break;
        case GROUP: record.oldValue = cue.getGroup(); break;
        case PYRO_ADDRESS:
        case DMX_CHANNEL: record.oldValue = command.getAddress(); break;
        case DMX_UNIVERSE: record.oldValue = command.getUniverse(); break;
        case DMX_VALUE: record.oldValue = command.getValue(); break;
        case DURATION: record.oldValue = cue.getDuration(); break;
        case COMMAND_WORD: record.oldValue = static_cast<int>(command.toCommandWord()); break;
        case QUANTITY: record.oldValue = cue.getQuantity(); break;
        case PYRO_TYPE: record.oldValue = cue.getPyroType(); break;
        case DMX_CHASE_BPM: record.oldValue = command.getChaseBpm(); break;
        case DMX_TEXT: record.oldText = command.getDmxText(); break;
        case DMX_CHASE_PATH: record.oldValue = command.getChasePath(); break;
        default: break;
    }
    records_.emplace(cue.getId(), std::move(record));
    if (changesCommand()) {
        oldCommands_.emplace(cue.getId(), OldCommand{command, cue.getDmxSteps()});
    }
}

bool OperationSetCueValue::execute(ProjectData& data)
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        if (cue->isSelected() && appliesTo(*cue)) {
            record(*cue);
        }
    }
    return applyNew(data);
}

bool OperationSetCueValue::undo(ProjectData& data)
{
    restore(data);
    return true;
}

bool OperationSetCueValue::redo(ProjectData& data)
{
    return applyNew(data);
}

bool OperationSetCueValue::applyNew(ProjectData& data)
{
    if (records_.empty()) {
        return true;
    }
    // A value outside the field's range is refused before anything changes.
    if (type_ == COMMAND_WORD || !relative_) {
        if (const wchar_t* key = CueValueLimits::refusal(type_, value_)) {
            return failOperation(key);
        }
    }
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const auto record = records_.find(cue->getId());
        if (record == records_.end()) {
            continue;
        }
        // A relative change is checked per cue: group 16 plus 1 is out of range.
        const wchar_t* refused = relative_ && type_ != COMMAND_WORD && type_ != DMX_TEXT
                                     ? CueValueLimits::refusal(type_, newValue(record->second))
                                     : nullptr;
        if (refused != nullptr || !applyNewTo(*cue, record->second)) {
            restore(data);
            return failOperation(refused != nullptr ? refused : kGenericError);
        }
    }
    return true;
}

int OperationSetCueValue::newValue(const Record& record) const
{
    if (!relative_) {
        return value_;
    }
    const long long sum = static_cast<long long>(record.oldValue) + value_;
    return static_cast<int>(std::clamp(sum, 0LL, static_cast<long long>(INT_MAX)));
}

bool OperationSetCueValue::applyNewTo(Cue& cue, const Record& record) const
{
    const int b = newValue(record);
    const CueCommand& current = cue.getCommand();
    switch (type_) {
        case PREFIRE_TIME: return cue.setPrefireTime(b);
        case GROUP: cue.setGroup(b); return true;
        case PYRO_ADDRESS: cue.setCommand(CueCommand::pyro(b)); return true;
        case DMX_UNIVERSE:
            cue.setCommand(CueCommand::dmx(b, current.getAddress(), current.getValue()));
            return true;
        case DMX_CHANNEL:
            cue.setCommand(CueCommand::dmx(current.getUniverse(), b, current.getValue()));
            return true;
        case DMX_VALUE: {
            CueCommand command = CueCommand::dmx(current.getUniverse(), current.getAddress(), b);
            command.setChasePath(current.getChasePath());
            command.setChaseBpm(current.getChaseBpm());
            // Parsed with the new value in place: entries without a value take it.
            if (!command.setDmxText(current.getDmxText())) {
                return false;
            }
            cue.setCommand(command);
            return true;
        }
        case DURATION: cue.setDuration(b); return true;
        case COMMAND_WORD:
            cue.setCommand(CueCommand::fromCommandWord(static_cast<uint32_t>(value_)));
            return true;
        case QUANTITY: cue.setQuantity(b); return true;
        case PYRO_TYPE: cue.setPyroType(b); return true;
        case DMX_CHASE_BPM: {
            CueCommand command = current;
            command.setChaseBpm(b);
            cue.setCommand(command);
            return true;
        }
        case DMX_TEXT: {
            CueCommand command = dmxLike(current);
            command.setChasePath(current.getChasePath());
            command.setChaseBpm(current.getChaseBpm());
            if (!command.setDmxText(text_)) {
                return false;
            }
            cue.setCommand(command);
            return true;
        }
        case DMX_CHASE_PATH: {
            CueCommand command = current;
            command.setChasePath(b);
            cue.setCommand(command);
            return true;
        }
        default: return true;
    }
}

void OperationSetCueValue::restore(ProjectData& data) const
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const auto record = records_.find(cue->getId());
        if (record != records_.end()) {
            restoreTo(*cue, record->second);
        }
    }
}

void OperationSetCueValue::restoreTo(Cue& cue, const Record& record) const
{
    if (changesCommand()) {
        const OldCommand& old = oldCommands_.at(cue.getId());
        cue.setCommand(old.command);
        cue.setDmxSteps(old.steps);
        return;
    }
    switch (type_) {
        // The recorded prefire time was accepted with the recorded timecode, which the cue
        // has again whenever this operation is undone.
        case PREFIRE_TIME: cue.setPrefireTime(record.oldValue); break;
        case GROUP: cue.setGroup(record.oldValue); break;
        case DURATION: cue.setDuration(record.oldValue); break;
        case QUANTITY: cue.setQuantity(record.oldValue); break;
        case PYRO_TYPE: cue.setPyroType(record.oldValue); break;
        default: break;
    }
}

}  // namespace Project
