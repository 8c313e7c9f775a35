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
    // Waits in a local event loop that lets paint, timers and host events through but no
    // user input, until the sound has ended or its length plus one second has passed; no wait at
    // all for a file that cannot play or when there is no audio output.
    void playToEnd(const QString& path) override;
    // Whether the system offers any audio output (none: no sound server or device).
    static bool audioOutputAvailable();
    // The bound of the last playToEnd's wait in ms; 0 when it did not wait at all.
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
