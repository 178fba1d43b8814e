#pragma once

// For tests, benchmarks and the fuzz seeds only: shows made up in code.

#include <string>

#include "Project/ProjectData.h"

namespace Project::Sample {

// Fills the data with `count` cues a second apart in `format`: every fourth a DMX chase with
// a DMX text of two steps, the others pyro cues with group names and reminder texts, each
// with six metadata pairs.
inline void fillShow(ProjectData& data, int count, int format = SMPTE::SMPTE_25)
{
    data.setFormat(format);
    data.setAudioOffset(SMPTE(format));
    data.getMetadata().insert(-1, L"title", L"Finale");
    CueList& cues = data.getCueList();
    const int fps = SMPTE::nominalFramesPerSecond(format);
    for (int i = 0; i < count; ++i) {
        const SMPTE timecode = SMPTE::fromFrameNo(format, fps * (i + 1));
        const bool dmx = i % 4 == 3;
        CueCommand command = dmx ? CueCommand::dmx(0, i % 500, 200) : CueCommand::pyro(i % 0x800);
        if (dmx) {
            const std::string channel = std::to_string(i % 500 + 1);
            command.setDmxText("(S" + channel + "@255+" + std::to_string(i % 500 + 2) + "@10)+(" +
                               channel + "@0)");
            command.setChaseBpm(120);
            command.setChasePath(CueCommand::CHASE_BLOCK);
        }
        Cue* cue = cues.add(timecode, command, i % 7, 25 + i % 50, 1 + i % 16, -1,
                            dmx ? "" : "Cue " + std::to_string(i));
        cue->setGroupName("Group " + std::to_string(i % 16));
        cue->setPyroType(i % 3 == 0 ? Cue::PYRO_PARALLEL : Cue::PYRO_SINGLE);
        KeyValueList& meta = cue->getMetadata();
        meta.insert(-1, L"~DESC", L"Red peony " + std::to_wstring(i));
        meta.insert(-1, L"~ARTNR", L"A" + std::to_wstring(1000 + i % 90));
        meta.insert(-1, L"~TYPE", L"Shell");
        meta.insert(-1, L"~POS", L"Pos " + std::to_wstring(i % 12));
        meta.insert(-1, L"~PRICE", L"12.50");
        meta.insert(-1, L"~CALIBRE", L"75");
    }
}

}  // namespace Project::Sample
