#include "speech/QtAlarmSpeaker.h"

#include <QTextToSpeech>

#include "alerts/SpeechLocale.h"

QtAlarmSpeaker::QtAlarmSpeaker(QObject* parent) : QObject(parent) {
    m_bound.setSingleShot(true);
    connect(&m_bound, &QTimer::timeout, this, &QtAlarmSpeaker::finished);
    // Without any engine plugin there is nothing to create.
    if (QTextToSpeech::availableEngines().isEmpty())
        return;
    m_speech = new QTextToSpeech(this);
    if (m_speech->availableVoices().isEmpty()) {
        if (const auto locale = ::speechLocale(QLocale::system(), m_speech->availableLocales())) {
            m_speech->setLocale(*locale);
            const QList<QVoice> voices = m_speech->availableVoices();
            if (!voices.isEmpty())
                m_speech->setVoice(voices.first());
        }
    }
    connect(m_speech, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
        if (state == QTextToSpeech::Ready || state == QTextToSpeech::Error)
            finished();
    });
}

QtAlarmSpeaker::~QtAlarmSpeaker() = default;

bool QtAlarmSpeaker::available() const {
    // An engine that started in a locale it had no voice for reports an error, which a voice
    // found since does not clear: it speaks all the same.
    return m_speech &&
           (m_speech->state() != QTextToSpeech::Error || !m_speech->availableVoices().isEmpty());
}

QLocale QtAlarmSpeaker::speechLocale() const {
    return m_speech ? m_speech->locale() : QLocale::c();
}

void QtAlarmSpeaker::speak(const QString& text, std::function<void()> spoken) {
    m_spoken = std::move(spoken);
    if (!available()) {
        finished();
        return;
    }
    // Some ten characters a second, and time for the engine to start.
    m_bound.start(5000 + 100 * int(text.size()));
    m_speech->say(text);
}

void QtAlarmSpeaker::finished() {
    m_bound.stop();
    if (auto spoken = std::exchange(m_spoken, nullptr))
        spoken();
}
