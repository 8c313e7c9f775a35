#include "sound/QtSoundPlayer.h"

#include <algorithm>
#include <memory>

#include <QAudioDevice>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

namespace {

quint32 le32(const char* p) {
    return qFromLittleEndian<quint32>(p);
}

quint16 le16(const char* p) {
    return qFromLittleEndian<quint16>(p);
}

} // namespace

std::optional<int> wavDurationMs(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The header and the chunk list lie at the front; sample data need not be read.
    const QByteArray head = file.read(64 * 1024);
    const qint64 fileSize = file.size();
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE")
        return std::nullopt;
    quint32 byteRate = 0;
    qsizetype pos = 12;
    while (pos + 8 <= head.size()) {
        const QByteArray id = head.mid(pos, 4);
        const quint32 size = le32(head.constData() + pos + 4);
        const qsizetype body = pos + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > head.size())
                return std::nullopt;
            byteRate = le32(head.constData() + body + 8);
            if (le16(head.constData() + body + 2) == 0) // no channels
                return std::nullopt;
        } else if (id == "data") {
            if (byteRate == 0)
                return std::nullopt;
            // A file cut short plays only what it holds.
            const qint64 available = std::max<qint64>(0, fileSize - body);
            const qint64 bytes = std::min<qint64>(size, available);
            return static_cast<int>(std::min<qint64>(bytes * 1000 / byteRate, 3600 * 1000));
        }
        pos = body + qsizetype(size) + (size & 1);
    }
    return std::nullopt;
}

struct QtSoundPlayer::Private {
    std::unique_ptr<QSoundEffect> background;
    int lastWaitBoundMs = 0;
    bool noOutputTold = false;
};

QtSoundPlayer::QtSoundPlayer() : d(new Private) {}

QtSoundPlayer::~QtSoundPlayer() {
    delete d;
}

bool QtSoundPlayer::audioOutputAvailable() {
    return !QMediaDevices::audioOutputs().isEmpty();
}

bool QtSoundPlayer::outputThere() {
    if (audioOutputAvailable()) {
        d->noOutputTold = false;
        return true;
    }
    // Qt Multimedia would say so at every alarm; once is enough, until a device comes back.
    if (!d->noOutputTold)
        qWarning("No audio device detected");
    d->noOutputTold = true;
    return false;
}

void QtSoundPlayer::playAsync(const QString& path) {
    // A new alarm cuts the previous one short, as one sound channel would.
    d->background.reset();
    if (!outputThere())
        return;
    d->background = std::make_unique<QSoundEffect>();
    QSoundEffect* effect = d->background.get();
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Ready && !effect->isPlaying())
            effect->play();
    });
    effect->setSource(QUrl::fromLocalFile(path));
    if (effect->status() == QSoundEffect::Ready)
        effect->play();
}

int QtSoundPlayer::lastWaitBoundMs() const {
    return d->lastWaitBoundMs;
}

void QtSoundPlayer::playToEnd(const QString& path) {
    d->lastWaitBoundMs = 0;
    const std::optional<int> length = wavDurationMs(path);
    // Nothing that could be heard: no wait, or the window would ignore the operator for the
    // sound's length on every alarm tick.
    if (!length || !outputThere())
        return;
    // Without a sound server the effect reports playing for ever: the bound ends the wait.
    QEventLoop loop;
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);

    QSoundEffect effect;
    bool started = false;
    const auto startWhenReady = [&] {
        if (effect.status() == QSoundEffect::Error) {
            loop.quit();
        } else if (effect.status() == QSoundEffect::Ready && !started) {
            started = true;
            effect.play();
        }
    };
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, startWhenReady);
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (started && !effect.isPlaying())
            loop.quit();
    });
    effect.setSource(QUrl::fromLocalFile(path));
    bound.start(*length + 1000);
    startWhenReady();
    if (effect.status() == QSoundEffect::Error)
        return;
    d->lastWaitBoundMs = *length + 1000;
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    effect.stop();
}
