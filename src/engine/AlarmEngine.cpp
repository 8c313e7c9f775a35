#include "engine/AlarmEngine.h"

#include <exception>

#include <QDir>
#include <QMetaObject>
#include <QPointer>

#include "engine/AlarmWalk.h"
#include "engine/MapMarks.h"
#include "engine/SoundPlayer.h"
#include "host/KestrelHost.h"
#include "lists/Commands.h"
#include "numbers/NumericText.h"

namespace {

// The full path of a file of the WAV folder, with the name as the folder spells it
// (the lookup ignores case), or empty when there is none.
QString lookUp(const QString& folder, const char* name) {
    if (folder.isEmpty())
        return {};
    const QStringList found =
        QDir(folder).entryList({QString::fromLatin1(name)}, QDir::Files | QDir::Hidden);
    if (found.isEmpty())
        return {};
    return QDir(folder).filePath(found.first());
}

const QString kRetryNote =
    QStringLiteral("\r\n\r\nRingwarden keeps trying every 10 seconds; this message is not "
                   "repeated until a tick has run through again.");

// What the operator reads when a tick fails: whether the tracker is gone, or refused
// something, or the map could not take a value.
QString failureText(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const HostError& error) {
        if (error.kind() == HostError::Kind::Refused)
            return QStringLiteral("Kestrel32 refused a request of the alarm cycle: ") +
                   error.message() + kRetryNote;
        return QStringLiteral("The alarm cycle could not talk to Kestrel32: ") + error.message() +
               kRetryNote;
    } catch (const MapMarkError& error) {
        return QStringLiteral("The alarm cycle could not draw on Kestrel32's map: ") +
               QString::fromStdString(error.what()) + kRetryNote;
    } catch (const std::exception& error) {
        return QStringLiteral("The alarm cycle failed: ") + QString::fromStdString(error.what()) +
               kRetryNote;
    } catch (...) {
        return QStringLiteral("The alarm cycle failed.") + kRetryNote;
    }
}

} // namespace

AlarmEngine::AlarmEngine(KestrelHost& host, KestrelMap* map, SoundPlayer* sound, QObject* parent)
    : QObject(parent), m_host(host), m_map(map), m_sound(sound) {
    m_timer1.setInterval(kTickMs);
    connect(&m_timer1, &QTimer::timeout, this, &AlarmEngine::timer1Timer);
}

AlarmEngine::~AlarmEngine() = default;

void AlarmEngine::startTicking() {
    if (!m_shutDown)
        m_timer1.start();
}

void AlarmEngine::shutDown() {
    m_shutDown = true;
    m_timer1.stop();
    // The steps still queued find the tick gone; the calls still out are dropped with
    // the walk that waits for them.
    ++m_tickId;
    m_walk.reset();
    m_tickRunning = false;
}

void AlarmEngine::setRadiusText(const QString& text) {
    if (text == m_radiusText)
        return;
    m_radiusText = text;
    emit radiusTextChanged(text);
}

double AlarmEngine::radius() const {
    return numericValue(m_radiusText);
}

bool AlarmEngine::isOn(Switch which) const {
    switch (which) {
    case Switch::AudibleAlarm:
        return m_audibleAlarm;
    case Switch::BringToFront:
        return m_bringToFront;
    case Switch::ScanStations:
        return m_scanStations;
    case Switch::ScanOverlays:
        return m_scanOverlays;
    case Switch::DesktopNotify:
        return m_desktopNotify;
    case Switch::SpeakAlarm:
        return m_speakAlarm;
    }
    return false;
}

void AlarmEngine::setSwitchNeed(Switch which, std::function<bool()> available) {
    if (which == Switch::SpeakAlarm)
        m_speechNeed = std::move(available);
}

bool AlarmEngine::isAvailable(Switch which) const {
    return which != Switch::SpeakAlarm || m_speechAvailable;
}

void AlarmEngine::toggleSwitch(Switch which) {
    if (which != Switch::SpeakAlarm) {
        setSwitch(which, !isOn(which));
        return;
    }
    // Asked both ways, so that switching off tells the operator it cannot come back on.
    m_speechAvailable = !m_speechNeed || m_speechNeed();
    m_speakAlarm = !m_speakAlarm && m_speechAvailable;
    emit switchChanged(which, m_speakAlarm);
}

void AlarmEngine::setSwitch(Switch which, bool on) {
    switch (which) {
    case Switch::AudibleAlarm:
        m_audibleAlarm = on;
        break;
    case Switch::BringToFront:
        m_bringToFront = on;
        break;
    case Switch::ScanStations:
        m_scanStations = on;
        // The alarm list says so while the stations are not scanned.
        m_alarmLines.clear();
        if (!on)
            m_alarmLines.add(QStringLiteral("disabled"));
        break;
    case Switch::ScanOverlays:
        m_scanOverlays = on;
        break;
    case Switch::DesktopNotify:
        m_desktopNotify = on;
        break;
    case Switch::SpeakAlarm:
        // A spoken alarm read as on stays on, unavailable, so that it can be switched off.
        m_speakAlarm = on;
        m_speechAvailable = !on || !m_speechNeed || m_speechNeed();
        break;
    }
    emit switchChanged(which, on);
}

KestrelMap& AlarmEngine::map() {
    if (!m_map)
        throw MapMarkError(QStringLiteral("The host's map is not available."));
    return *m_map;
}

void AlarmEngine::holdTicks(bool hold) {
    if (hold)
        m_timer1.stop();
    else
        startTicking();
}

void AlarmEngine::later(Step step) {
    QMetaObject::invokeMethod(
        this,
        [this, id = m_tickId, step = std::move(step)] {
            if (id == m_tickId && m_tickRunning)
                guarded(step);
        },
        Qt::QueuedConnection);
}

void AlarmEngine::guarded(const Step& step) {
    try {
        step();
    } catch (...) {
        endTick(std::current_exception());
    }
}

void AlarmEngine::timer1Timer() {
    if (m_tickRunning || m_shutDown)
        return;
    m_tickRunning = true;
    ++m_tickId;
    m_stationCount = 0;
    m_watchCount = 0;
    guarded([this] { ownStation(); });
}

void AlarmEngine::ownStation() {
    m_station.Callsign = m_ownCallsign;
    if (!m_host.GetStation(m_station)) {
        later([this] { scanStations(); });
        return;
    }
    DrawRangeCircle(map(), m_station.Longitude, m_station.Latitude, radius());
    later([this] { sweep(0.0); });
}

void AlarmEngine::sweep(double angle) {
    // The counter adds 0.2 to a double, so it takes 32 values from 0 to about 6.2.
    if (angle > 6.28) {
        scanStations();
        return;
    }
    DrawRangeArc(map(), m_station.Longitude, m_station.Latitude, radius(),
                 static_cast<float>(angle), angle + 0.2);
    later([this, angle] { sweep(angle + 0.2); });
}

void AlarmEngine::overlaysThenAlarm() {
    if (m_scanOverlays)
        scanOverlays();
    if (m_stationCount > 0 || m_watchCount > 0)
        soundAlarm();
    else
        endTick();
}

void AlarmEngine::soundAlarm() {
    m_alertStations = m_audibleAlarm && m_stationCount < 5;
    if (!m_audibleAlarm) {
        later([this] { alertStationsAndRaise(); });
        return;
    }
    if (m_stationCount >= 5) {
        QString path = lookUp(m_wavFolder, kWavManyStations);
        if (path.isEmpty())
            path = lookUp(m_wavFolder, kWavSiren);
        if (!path.isEmpty() && m_sound)
            m_sound->playAsync(path);
        later([this] { alertStationsAndRaise(); });
        return;
    }
    const QString path = lookUp(m_wavFolder, kWavFewStations);
    if (path.isEmpty() || !m_sound) {
        later([this] { alertStationsAndRaise(); });
        return;
    }
    // The tick goes on when the sound has ended; a tick dropped meanwhile stays dropped.
    m_sound->playToEnd(path, [engine = QPointer<AlarmEngine>(this), id = m_tickId] {
        if (engine && engine->m_tickId == id && engine->m_tickRunning)
            engine->later([e = engine.data()] { e->alertStationsAndRaise(); });
    });
}

void AlarmEngine::alertStationsAndRaise() {
    if (m_alertStations) {
        // The list is read afresh: a command may have changed it while the sound played.
        for (int i = 0; i < m_alarmLines.count(); ++i)
            m_host.AlertStation(callsignOfLine(m_alarmLines.at(i)));
    }
    emit alarmRaised(m_alarmLines.items());
    if (m_bringToFront)
        emit bringToFrontRequested();
    endTick();
}

void AlarmEngine::endTick(std::exception_ptr failure) {
    if (!m_tickRunning)
        return;
    m_tickRunning = false;
    ++m_tickId;
    m_walk.reset();
    if (!failure) {
        m_failureReported = false;
        if (m_scanStations)
            emit stationsListed(m_alarmLines.items());
    } else if (!m_failureReported && !m_shutDown) {
        m_failureReported = true;
        emit tickFailed(failureText(failure));
    }
    emit tickEnded();
}

void AlarmEngine::acknowledge(int row) {
    holdTicks(true);
    if (row >= 0 && row < m_alarmLines.count()) {
        const QString line = m_alarmLines.at(row);
        if (acknowledgeLine(m_alarmLines, row, m_ackedCalls))
            emit acknowledged(callsignOfLine(line), line);
    }
    holdTicks(false);
}

void AlarmEngine::acknowledgeAll() {
    holdTicks(true);
    const QStringList lines = m_alarmLines.items();
    QStringList before = m_ackedCalls.items();
    ::acknowledgeAll(m_alarmLines, m_ackedCalls);
    for (const QString& line : lines) {
        const QString callsign = callsignOfLine(line);
        if (!before.contains(callsign)) {
            before.append(callsign);
            emit acknowledged(callsign, line);
        }
    }
    holdTicks(false);
}

void AlarmEngine::rearm(int row) {
    if (row < 0 || row >= m_ackedCalls.count())
        return;
    const QString callsign = m_ackedCalls.at(row);
    m_ackedCalls.removeAt(row);
    emit rearmed(callsign);
}

void AlarmEngine::rearmAll() {
    const QStringList callsigns = m_ackedCalls.items();
    m_ackedCalls.clear();
    for (const QString& callsign : callsigns)
        emit rearmed(callsign);
}

QString AlarmEngine::addWatch(const QString& typed) {
    const QString text = trimBlanks(typed);
    if (text.isEmpty())
        return QStringLiteral("You're supposed to put a callsign in the box!");
    if (!isStorableWatchEntry(text))
        return QStringLiteral(
            "A callsign for the watch list cannot contain \"|\" or a line break.");
    m_watchCalls.add(text);
    emit watchAdded(text);
    return {};
}

void AlarmEngine::deleteWatch(int row) {
    if (row < 0 || row >= m_watchCalls.count())
        return;
    const QString callsign = m_watchCalls.at(row);
    m_watchCalls.removeAt(row);
    emit watchDeleted(callsign);
}

QAbstractItemModel* AlarmEngine::model(List which) {
    switch (which) {
    case List::AlarmLines:
        return &m_alarmLines;
    case List::AckedCalls:
        return &m_ackedCalls;
    case List::WatchCalls:
        return &m_watchCalls;
    case List::OverlayLines:
        break;
    }
    return &m_overlayLines;
}

void AlarmEngine::loadLists(const QStringList& acked, const QStringList& watch) {
    for (const QString& callsign : acked)
        m_ackedCalls.add(callsign);
    for (const QString& callsign : watch)
        m_watchCalls.add(callsign);
}
