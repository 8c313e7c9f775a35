#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "alerts/AlarmSpeaker.h"

// A speaker made the first time it is asked: a speech engine starts a speech daemon, which an
// operator who never switches the spoken alarm on should not pay for at every start.
class LazySpeaker final : public AlarmSpeaker {
public:
    explicit LazySpeaker(std::function<std::unique_ptr<AlarmSpeaker>()> make)
        : m_make(std::move(make)) {}

    bool available() const override { return speaker() && speaker()->available(); }
    void speak(const QString& text, std::function<void()> spoken) override {
        if (speaker())
            speaker()->speak(text, std::move(spoken));
        else if (spoken)
            spoken();
    }

private:
    AlarmSpeaker* speaker() const {
        if (!m_speaker && m_make)
            m_speaker = std::exchange(m_make, nullptr)();
        return m_speaker.get();
    }

    mutable std::function<std::unique_ptr<AlarmSpeaker>()> m_make;
    mutable std::unique_ptr<AlarmSpeaker> m_speaker;
};
