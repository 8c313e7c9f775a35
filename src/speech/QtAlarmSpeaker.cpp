#include "speech/QtAlarmSpeaker.h"

#include <QTextToSpeech>

QtAlarmSpeaker::QtAlarmSpeaker(QObject* parent) : QObject(parent) {
    // Without any engine plugin there is nothing to create.
    if (QTextToSpeech::availableEngines().isEmpty())
        return;
    m_speech = new QTextToSpeech(this);
    // Qt 6.4's say() cuts off what is being spoken, so the next text waits for Ready.
    connect(m_speech, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
        if (state == QTextToSpeech::Ready)
            speakNext();
    });
}

QtAlarmSpeaker::~QtAlarmSpeaker() = default;

bool QtAlarmSpeaker::available() const {
    return m_speech && m_speech->state() != QTextToSpeech::Error;
}

void QtAlarmSpeaker::say(const QString& text) {
    if (!available())
        return;
    m_queue << text;
    if (m_speech->state() == QTextToSpeech::Ready)
        speakNext();
}

void QtAlarmSpeaker::speakNext() {
    if (!m_queue.isEmpty())
        m_speech->say(m_queue.takeFirst());
}
