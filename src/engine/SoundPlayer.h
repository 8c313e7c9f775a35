#pragma once

#include <QString>

// Where the alarm sounds go. The window plays through Qt Multimedia (QtSoundPlayer);
// tests put a recording player in its place so that no test makes a sound.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the file and returns at once.
    virtual void playAsync(const QString& path) = 0;
    // Plays the file to its end before returning; must return promptly when the file
    // cannot be played, and never waits much longer than the sound lasts.
    virtual void playToEnd(const QString& path) = 0;
};
