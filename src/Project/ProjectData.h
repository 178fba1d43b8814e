#pragma once

#include <string>

#include "Platform/ListenerSet.h"
#include "Project/CueList.h"
#include "Project/EffectList.h"
#include "Project/Fixture.h"
#include "Project/FixtureList.h"
#include "Project/KeyValueList.h"
#include "Timecode/SMPTE.h"

namespace Project {

class Project;

// Everything of a project that is saved: the timecode format, the soundtrack link, project
// metadata, the cues and the two libraries. Owned by the project; changed only by
// operations, on the main thread.
class ProjectData {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void formatChanged(int /*format*/) {}
        virtual void audioOffsetChanged(const SMPTE& /*offset*/) {}
    };

    ProjectData();
    ~ProjectData();
    ProjectData(const ProjectData&) = delete;
    ProjectData& operator=(const ProjectData&) = delete;

    // The project that holds this data, if any: operations reach the project's services
    // (its file name, its soundtrack) through it.
    Project* getOwner() const { return owner_; }
    void setOwner(Project* owner) { owner_ = owner; }

    void addListener(Listener* listener) { listeners_.add(listener); }
    void removeListener(Listener* listener) { listeners_.remove(listener); }

    int getFormat() const { return format_; }
    // Stores the format and notifies every listener, also when it is unchanged.
    void setFormat(int format);

    const SMPTE& getAudioOffset() const { return audioOffset_; }
    // Stores the offset and notifies every listener, also when it is unchanged.
    void setAudioOffset(const SMPTE& offset);

    bool isWaveLinked() const { return waveLinked_; }
    std::wstring getWaveFileName() const { return waveFileName_; }
    // Set by the operations that link and unlink the soundtrack. Clears the missing mark.
    void setWaveLink(bool linked, const std::wstring& fileName);
    // A linked soundtrack that could not be opened when the project was: the link and its
    // path are kept (and saved), nothing plays. Not saved itself.
    bool isSoundtrackMissing() const { return soundtrackMissing_; }
    void setSoundtrackMissing(bool missing) { soundtrackMissing_ = missing; }

    KeyValueList& getMetadata() { return metadata_; }
    const KeyValueList& getMetadata() const { return metadata_; }
    CueList& getCueList() { return cueList_; }
    const CueList& getCueList() const { return cueList_; }
    // The effect library as shown and edited, and the whole library while a search narrows
    // the first.
    EffectList& getEffectList() { return effectList_; }
    const EffectList& getEffectList() const { return effectList_; }
    EffectList& getFullEffectList() { return fullEffectList_; }
    const EffectList& getFullEffectList() const { return fullEffectList_; }

    // The preset whose channels are being edited, or null. Not owned.
    Fixture* getCurrentFixture() const { return currentFixture_; }
    void setCurrentFixture(Fixture* fixture) { currentFixture_ = fixture; }
    // The presets shown (all, or a search's hits) and every preset of the library.
    FixtureList& getFixtureList() { return fixtureList_; }
    const FixtureList& getFixtureList() const { return fixtureList_; }
    FixtureStore& getFixtureStore() { return fixtureStore_; }
    const FixtureStore& getFixtureStore() const { return fixtureStore_; }

private:
    Project* owner_ = nullptr;
    Platform::ListenerSet<Listener> listeners_;
    int format_ = SMPTE::SMPTE_30;
    SMPTE audioOffset_{SMPTE::SMPTE_30};
    bool waveLinked_ = false;
    std::wstring waveFileName_;
    bool soundtrackMissing_ = false;
    KeyValueList metadata_;
    CueList cueList_;
    EffectList effectList_;
    EffectList fullEffectList_;
    Fixture* currentFixture_ = nullptr;
    // The store is declared before the list that refers to its presets, so the list goes
    // first when the data is destroyed.
    FixtureStore fixtureStore_;
    FixtureList fixtureList_;
};

}  // namespace Project
