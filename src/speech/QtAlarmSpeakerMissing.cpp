// The build without Qt TextToSpeech: the same class, never available.
#include "speech/QtAlarmSpeaker.h"

QtAlarmSpeaker::QtAlarmSpeaker(QObject* parent) : QObject(parent) {}

QtAlarmSpeaker::~QtAlarmSpeaker() = default;

bool QtAlarmSpeaker::available() const {
    return false;
}

void QtAlarmSpeaker::say(const QString&) {}

void QtAlarmSpeaker::speakNext() {}
