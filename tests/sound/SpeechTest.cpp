// The spoken alarm's real engine: a speech daemon that is missing or cannot reach a sound
// device must neither take the program down nor pile texts up behind a voice never heard.
#include <gtest/gtest.h>

#include "speech/QtAlarmSpeaker.h"

TEST(SpokenAlarm, theRealEngineIsAskedAndTextsWaitTheirTurn) {
    QtAlarmSpeaker speaker;
    const bool available = speaker.available();
    speaker.say(QStringLiteral("P D 1 A A A, 2.5"));
    speaker.say(QStringLiteral("G 4 C A R, 1.2"));
    // Without an engine nothing is kept; with one, the second text waits behind the first.
    EXPECT_LE(speaker.queued(), available ? 1 : 0);
}
