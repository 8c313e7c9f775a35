#pragma once

#include <functional>

#include <QObject>
#include <QTimer>

#include "alerts/AlarmSpeaker.h"

class QTextToSpeech;

// The spoken alarm through Qt TextToSpeech (speech-dispatcher or another engine plugin). It
// speaks in the operator's language when the engine has a voice for it, else in English or
// the engine's first language. A build without the Qt module, or a system without a speech
// engine, is simply never available.
class QtAlarmSpeaker final : public QObject, public AlarmSpeaker {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QtAlarmSpeaker)
public:
    explicit QtAlarmSpeaker(QObject* parent = nullptr);
    ~QtAlarmSpeaker() override;

    bool available() const override;
    void speak(const QString& text, std::function<void()> spoken) override;

    // The language the voice speaks (C when there is none).
    QLocale speechLocale() const;
    // Whether a text is being said.
    bool speaking() const { return bool(m_spoken); }

private:
    void finished();

    QTextToSpeech* m_speech = nullptr;
    std::function<void()> m_spoken;
    // A text the engine never reports as said must not stop the spoken alarm for good.
    QTimer m_bound;
};
