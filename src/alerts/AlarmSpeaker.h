#pragma once

#include <QString>

#include "alerts/StationChanges.h"

// Where the spoken alarm goes. The program speaks through Qt TextToSpeech (src/speech);
// tests put a recording speaker in its place, since CI has no audio.
class AlarmSpeaker {
public:
    virtual ~AlarmSpeaker() = default;
    // Whether a speech engine is there to speak at all.
    virtual bool available() const = 0;
    // Queues the text and returns at once; texts are spoken in the order given.
    virtual void say(const QString& text) = 0;
};

// What is said for a new station: the callsign spelled out, then its distance, so that
// "PD1AAA" at 2.5 is "P D 1 A A A, 2.5". Characters that cannot be spoken are left out.
QString spokenStation(const ListedStation& station);
