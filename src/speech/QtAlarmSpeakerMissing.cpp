// The build without Qt TextToSpeech: the same class, never available.
#include "speech/QtAlarmSpeaker.h"

QtAlarmSpeaker::QtAlarmSpeaker(QObject* parent) : QObject(parent) {}

QtAlarmSpeaker::~QtAlarmSpeaker() = default;

bool QtAlarmSpeaker::available() const {
    return false;
}

QLocale QtAlarmSpeaker::speechLocale() const {
    return QLocale::c();
}

void QtAlarmSpeaker::speak(const QString&, std::function<void()> spoken) {
    if (spoken)
        spoken();
}

void QtAlarmSpeaker::finished() {}
