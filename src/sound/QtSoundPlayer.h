#pragma once

#include <optional>

#include <QString>

#include "engine/SoundPlayer.h"

// Plays the alarm sounds through Qt Multimedia (QSoundEffect).
class QtSoundPlayer final : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    QtSoundPlayer(const QtSoundPlayer&) = delete;
    QtSoundPlayer& operator=(const QtSoundPlayer&) = delete;

    void playAsync(const QString& path) override;
    // Tells `ended` when the sound has ended or its length plus one second has passed, and
    // at once (from the event loop) for a file that cannot play or when there is no audio
    // output. A new sound to the end cuts the previous one short.
    void playToEnd(const QString& path, std::function<void()> ended) override;
    // Whether the system offers any audio output (none: no sound server or device).
    static bool audioOutputAvailable();
    // The bound of the last playToEnd's wait in ms; 0 when it does not wait at all.
    int lastWaitBoundMs() const;

private:
    // Whether there is an output to play on; its absence is told once.
    bool outputThere();

    struct Private;
    Private* d;
};

// The playing time of a PCM WAV file in milliseconds, from its header; empty when the file
// cannot be read or is not a WAV file.
std::optional<int> wavDurationMs(const QString& path);
