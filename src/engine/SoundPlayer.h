#pragma once

#include <functional>

#include <QString>

// Where the alarm sounds go. The window plays through Qt Multimedia (QtSoundPlayer);
// tests put a recording player in its place so that no test makes a sound.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts the file and returns at once.
    virtual void playAsync(const QString& path) = 0;
    // Starts the file and returns at once; `ended` is called once, from the event loop,
    // when the sound has ended, could not be played, or has played much longer than it
    // lasts (a sound system that never says it stopped).
    virtual void playToEnd(const QString& path, std::function<void()> ended) = 0;
};
