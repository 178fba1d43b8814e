#include "Project/Operations/OperationAutoSetPyroAddresses.h"

#include <cstdint>
#include <iterator>
#include <set>
#include <string>
#include <unordered_map>

#include "Project/Operations/OperationReport.h"
#include "Project/ProjectData.h"

namespace Project {

namespace {

constexpr int kOutputs = 16;
constexpr int kModuleMask = ~0xF;
// Pyro addresses are 12 bits: the last module starts at 0xFF0.
constexpr int kLastModule = 0xFF0;

bool isPyro(const Cue& cue)
{
    return cue.getCommand().getType() == CueCommand::TYPE_PYRO;
}

std::wstring metadataText(const Cue& cue, const std::wstring& key)
{
    const std::wstring* value = cue.getMetadata().valueOf(key);
    return value ? *value : std::wstring();
}

std::wstring groupingKey(const Cue& cue)
{
    return metadataText(cue, L"~POS") + metadataText(cue, L"~TYPE");
}

int64_t firingMoment(const Cue& cue)
{
    return cue.getFireMoment();
}

// The working sets of one run.
class AddressPlan {
public:
    // An address that stays: it is taken, and its module belongs to the cue's key and fires
    // at the cue's moment.
    void keep(const Cue& cue)
    {
        const int address = cue.getCommand().getAddress();
        const int base = address & kModuleMask;
        usedAddresses_.insert(address);
        usedBases_.insert(base);
        basesByKey_[groupingKey(cue)].insert(base);
        moments_[base].insert(firingMoment(cue));
    }

    // The cue's address, or -1 when every module is in use.
    int place(const Cue& cue)
    {
        const std::wstring key = groupingKey(cue);
        const int64_t moment = firingMoment(cue);
        std::set<int>& bases = basesByKey_[key];
        for (auto it = bases.begin(); it != bases.end();) {
            const int base = *it;
            int output = 0;
            while (output < kOutputs && usedAddresses_.count(base + output) != 0) {
                ++output;
            }
            const bool free = output < kOutputs;
            const bool clash = moments_[base].count(moment) != 0;
            // A module whose search reached its last output has nothing left to give.
            it = output >= kOutputs - 1 ? bases.erase(it) : std::next(it);
            if (free && !clash) {
                return take(base, base + output, moment);
            }
        }
        int base = nextModule_;
        while (usedBases_.count(base) != 0) {
            base += kOutputs;
        }
        if (base > kLastModule) {
            return -1;
        }
        usedBases_.insert(base);
        bases.insert(base);
        nextModule_ = base + kOutputs;
        if ((nextModule_ & 0xFF) == 0xA0) {
            nextModule_ += 0x60;
        }
        return take(base, base, moment);
    }

private:
    int take(int base, int address, int moment)
    {
        usedAddresses_.insert(address);
        // Every cue placed on a module counts for the module's moments, so that no module
        // gets two cues firing at the same moment.
        moments_[base].insert(moment);
        return address;
    }

    std::set<int> usedAddresses_;
    // Module 0x000 is never handed out.
    std::set<int> usedBases_{0};
    std::map<std::wstring, std::set<int>> basesByKey_;
    std::map<int, std::set<int64_t>> moments_;
    int nextModule_ = 0;
};

}  // namespace

bool OperationAutoSetPyroAddresses::execute(ProjectData& data)
{
    CueList& cues = data.getCueList();
    AddressPlan plan;
    std::unordered_map<int, const Cue*> byId;
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        byId.emplace(cue->getId(), cue);
        if (!isPyro(*cue)) {
            continue;
        }
        if (cue->isSelected()) {
            oldAddresses_.emplace(cue->getId(), cue->getCommand().getAddress());
        } else if (cue->getCommand().getAddress() != CueCommand::kNoAddress) {
            plan.keep(*cue);
        }
    }
    for (int id : viewOrder_) {
        const auto found = byId.find(id);
        if (found == byId.end() || newAddresses_.count(id) != 0) {
            continue;
        }
        const Cue& cue = *found->second;
        if (cue.isSelected() && isPyro(cue)) {
            const int address = plan.place(cue);
            if (address < 0) {
                oldAddresses_.clear();
                newAddresses_.clear();
                return failOperation(L"ERROR.NO_FREE_PYRO_ADDRESS");
            }
            newAddresses_.emplace(id, address);
        }
    }
    apply(data, newAddresses_);
    return true;
}

bool OperationAutoSetPyroAddresses::undo(ProjectData& data)
{
    apply(data, oldAddresses_);
    return true;
}

bool OperationAutoSetPyroAddresses::redo(ProjectData& data)
{
    apply(data, newAddresses_);
    return true;
}

void OperationAutoSetPyroAddresses::apply(ProjectData& data, const std::map<int, int>& addresses)
{
    CueList& cues = data.getCueList();
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        const auto address = addresses.find(cue->getId());
        if (address != addresses.end()) {
            cue->setCommand(CueCommand::pyro(address->second));
        }
    }
}

}  // namespace Project
