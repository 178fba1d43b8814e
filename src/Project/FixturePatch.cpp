#include "Project/FixturePatch.h"

#include <algorithm>
#include <cmath>

#include "Platform/NumberReading.h"
#include "Timecode/SMPTE.h"

namespace Project {

namespace {

constexpr int kLastChannel = 512;

// One device of the layout. Skipped devices take their room but get no values, so they are
// not in the plan at all; only their effect on the bases of later devices remains.
struct Device {
    const Fixture* fixture;
    int base;            // DMX channel of the device's first channel
    bool startsFixture;  // first device of its fixture (own scene starts a step here)
    bool firstFixture;   // belongs to the first fixture
};

struct Plan {
    std::vector<Device> devices;
    LocationMode location = LocationMode::SCENE;
    int deviceCount = 0;  // N as the description counts it
};

bool fail(std::wstring* errorKey, const wchar_t* key)
{
    if (errorKey) {
        *errorKey = key;
    }
    return false;
}

// The device numbers of the list: unreadable and negative entries are skipped.
std::vector<int> readDeviceList(const std::wstring& text)
{
    std::vector<int> numbers;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(L',', start), text.size());
        const std::optional<int> number =
            Platform::readLeadingInt(Platform::trimBlanks(text.substr(start, comma - start)));
        if (number && *number >= 0) {
            numbers.push_back(*number);
        }
        start = comma + 1;
    }
    return numbers;
}

bool makePlan(const std::vector<Fixture*>& fixtures, const PatchSettings& settings, Plan& plan,
              std::wstring* errorKey)
{
    const int fixtureCount = static_cast<int>(fixtures.size());
    if (fixtureCount == 0) {
        return fail(errorKey, L"ERROR.PATCH_NO_FIXTURE");
    }
    const int start = settings.startAddress;
    if (start < 1 || start > kLastChannel) {
        return fail(errorKey, L"ERROR.PATCH_START_ADDRESS");
    }
    for (const Fixture* fixture : fixtures) {
        if (fixture->getChannelCount() < 0) {
            return fail(errorKey, L"ERROR.PATCH_CHANNEL_RANGE");
        }
    }
    const PatchMode mode = settings.patchMode;
    const bool listMode = mode == PatchMode::MANUALENTRY || mode == PatchMode::SAME;

    std::vector<int> entries;
    int n = settings.deviceCount;
    if (mode == PatchMode::MANUALENTRY) {
        entries = readDeviceList(settings.manualEntry);
        n = static_cast<int>(entries.size());
        if (std::any_of(entries.begin(), entries.end(), [](int d) { return d < 1; })) {
            return fail(errorKey, L"ERROR.PATCH_DEVICE_NUMBER");
        }
    }
    // More devices than channels cannot fit; refusing here also bounds the work.
    if (n > kLastChannel) {
        return fail(errorKey, L"ERROR.PATCH_CHANNEL_RANGE");
    }
    if (!isPatchModeEnabled(mode, n, fixtureCount)) {
        return fail(errorKey, L"ERROR.PATCH_MODE");
    }
    if (mode == PatchMode::SAME) {
        for (int d = 1; d <= n; ++d) {
            entries.push_back(d);
        }
    }
    plan.deviceCount = n;
    plan.location = effectiveLocationMode(settings.locationMode, mode, fixtureCount);

    if (listMode) {
        // Entries are independent: device d of a fixture sits at S + (d - 1) x channel count.
        for (int f = 0; f < fixtureCount; ++f) {
            const int channels = fixtures[f]->getChannelCount();
            for (std::size_t e = 0; e < entries.size(); ++e) {
                const long long base = start + static_cast<long long>(entries[e] - 1) * channels;
                if (base > kLastChannel) {
                    return fail(errorKey, L"ERROR.PATCH_CHANNEL_RANGE");
                }
                plan.devices.push_back({fixtures[f], static_cast<int>(base), e == 0, f == 0});
            }
        }
    } else {
        int base = start;
        for (int k = 1; k <= n; ++k) {
            const Fixture* fixture = fixtures[0];
            bool receives = true;
            switch (mode) {
                case PatchMode::ALTERNATE: fixture = fixtures[(k - 1) % fixtureCount]; break;
                case PatchMode::ODD: receives = k % 2 == 1; break;
                case PatchMode::EVEN: receives = k % 2 == 0; break;
                case PatchMode::LEFT: receives = k <= n / 2; break;
                case PatchMode::RIGHT: receives = k > n / 2; break;
                case PatchMode::LEFTRIGHT: fixture = fixtures[k <= n / 2 ? 0 : 1]; break;
                default: break;
            }
            if (receives) {
                if (base > kLastChannel) {
                    return fail(errorKey, L"ERROR.PATCH_CHANNEL_RANGE");
                }
                plan.devices.push_back({fixture, base, k == 1, fixture == fixtures[0]});
            }
            base += fixture->getChannelCount();
        }
    }

    // Every channel written must exist in the universe.
    for (const Device& device : plan.devices) {
        for (auto* channel = device.fixture->getFirstChannel(); channel;
             channel = channel->getNext()) {
            const long long absolute =
                static_cast<long long>(device.base) + channel->getChannel() - 1;
            if (absolute < 1 || absolute > kLastChannel) {
                return fail(errorKey, L"ERROR.PATCH_CHANNEL_RANGE");
            }
        }
    }
    return true;
}

DmxStep valuesOf(const Device& device)
{
    DmxStep step;
    for (auto* channel = device.fixture->getFirstChannel(); channel; channel = channel->getNext()) {
        step.emplace_back(static_cast<uint16_t>(device.base + channel->getChannel() - 1),
                          channel->getValue(), 0, true, channel->isSafety(),
                          channel->isSlowSafety(), 0);
    }
    return step;
}

void appendToLastStep(DmxSteps& steps, const DmxStep& step)
{
    if (steps.empty()) {
        steps.emplace_back();
    }
    steps.back().insert(steps.back().end(), step.begin(), step.end());
}

std::wstring describe(const std::vector<Fixture*>& fixtures, int deviceCount)
{
    const Fixture& first = *fixtures[0];
    if (fixtures.size() == 1) {
        return first.getProductName() + L" (" + first.getDescription() + L")";
    }
    if (fixtures.size() == 2) {
        return first.getProductName() + L" (" + first.getDescription() + L" AND " +
               fixtures[1]->getDescription() + L")";
    }
    return std::to_wstring(deviceCount) + L" x " + first.getProductName() + L" (" +
           std::to_wstring(fixtures.size()) + L" fixtures)";
}

void patchCue(Cue& cue, const Plan& plan, const std::wstring& description, int firstDuration,
              double rate)
{
    DmxSteps steps = cue.getDmxSteps();
    int dmxDuration = cue.getDmxDuration();
    int nextAddress = cue.getNextAddress();
    bool first = true;
    for (const Device& device : plan.devices) {
        const DmxStep step = valuesOf(device);
        const int duration = device.fixture->getDuration();
        switch (plan.location) {
            case LocationMode::RESET:
                if (first) {
                    steps.assign(1, step);
                    dmxDuration = duration;
                } else {
                    appendToLastStep(steps, step);
                    dmxDuration = std::max(dmxDuration, duration);
                }
                break;
            case LocationMode::SCENE:
                appendToLastStep(steps, step);
                dmxDuration = std::max(dmxDuration, duration);
                break;
            case LocationMode::CHASE:
                steps.push_back(step);
                dmxDuration += duration;
                break;
            case LocationMode::OWN_SCENE:
                if (device.startsFixture && device.firstFixture) {
                    steps.assign(1, step);
                    dmxDuration = duration;
                } else if (device.startsFixture) {
                    steps.push_back(step);
                    dmxDuration += duration;
                } else {
                    appendToLastStep(steps, step);
                    dmxDuration = std::max(dmxDuration, duration);
                }
                break;
        }
        nextAddress = device.base + device.fixture->getChannelCount();
        first = false;
    }
    cue.setDmxSteps(std::move(steps));
    cue.setDmxDuration(dmxDuration);
    cue.setNextAddress(nextAddress);

    KeyValueList& metadata = cue.getMetadata();
    const int index = metadata.indexOf(L"~DESC");
    if (index >= 0) {
        metadata.setValue(index, description);
    } else {
        metadata.insert(-1, L"~DESC", description);
    }
    if (cue.getDuration() == 0) {
        cue.setDuration(static_cast<int>(std::trunc(firstDuration / (1000.0 / rate))));
    }
    // The command fires what its text says: bring the text and the command's steps in line
    // with the patched steps.
    cue.rebuildDmxText();
}

}  // namespace

int readPatchNumber(const std::wstring& text)
{
    const std::optional<int> number = Platform::readLeadingInt(Platform::trimBlanks(text));
    return number && *number >= 0 ? *number : -1;
}

bool patchFixturesIntoCues(CueList& cues, const std::vector<Fixture*>& fixtures,
                           const PatchSettings& settings, int format, std::wstring* errorKey)
{
    Plan plan;
    if (!makePlan(fixtures, settings, plan, errorKey)) {
        return false;
    }
    const std::wstring description = describe(fixtures, plan.deviceCount);
    const int firstDuration = fixtures[0]->getDuration();
    const double rate = SMPTE::framesPerSecond(format);
    for (CueList::CueItem* cue = cues.first(); cue != cues.end(); cue = cue->getNext()) {
        // Only DMX cues take fixture channels: a pyro or reminder cue has no DMX output.
        if (cue->isSelected() && cue->getCommand().getType() == CueCommand::TYPE_DMX512) {
            patchCue(*cue, plan, description, firstDuration, rate);
        }
    }
    return true;
}

}  // namespace Project
