#pragma once

#include <QObject>
#include <QStringList>

#include "alerts/AlarmSpeaker.h"

class QTextToSpeech;

// The spoken alarm through Qt TextToSpeech (speech-dispatcher or another engine plugin).
// Texts wait their turn, one after the other, without holding the window. A build without
// the Qt module, or a system without a speech engine, is simply never available.
class QtAlarmSpeaker final : public QObject, public AlarmSpeaker {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QtAlarmSpeaker)
public:
    explicit QtAlarmSpeaker(QObject* parent = nullptr);
    ~QtAlarmSpeaker() override;

    bool available() const override;
    void say(const QString& text) override;

    // Texts waiting behind the one being spoken.
    qsizetype queued() const { return m_queue.size(); }

private:
    void speakNext();

    QTextToSpeech* m_speech = nullptr;
    QStringList m_queue;
};
