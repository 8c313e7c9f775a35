#pragma once

#include <functional>

#include <QString>

#include "alerts/StationChanges.h"

// Where the spoken alarm goes. The program speaks through Qt TextToSpeech (src/speech);
// tests put a recording speaker in its place, since CI has no audio. What waits to be said
// is kept by the caller (SpeechQueue), so that it can still be dropped: a speaker says one
// text at a time.
class AlarmSpeaker {
public:
    virtual ~AlarmSpeaker() = default;
    // Whether a speech engine is there to speak at all.
    virtual bool available() const = 0;
    // Starts saying the text and returns at once; `spoken` runs once it has been said, or
    // could not be. Called again only after that.
    virtual void speak(const QString& text, std::function<void()> spoken) = 0;
};

// What is said for a new station: the callsign spelled out, then its distance, so that
// "PD1AAA" at 2.5 is "P D 1 A A A, 2.5". Characters that cannot be spoken are left out.
QString spokenStation(const ListedStation& station);
