#include "sound/QtSoundPlayer.h"

#include <algorithm>
#include <memory>

#include <QAudioDevice>
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
    // The sound played to its end, what is told when it has, and the bound of the wait.
    std::unique_ptr<QObject> context = std::make_unique<QObject>();
    std::unique_ptr<QSoundEffect> toEnd;
    std::function<void()> ended;
    QTimer bound;
    bool started = false;

    Private() {
        bound.setSingleShot(true);
        QObject::connect(&bound, &QTimer::timeout, context.get(), [this] { finishToEnd(); });
    }
    // From a signal of the effect itself, which must not be deleted inside it.
    void finishLater() {
        QTimer::singleShot(0, context.get(), [this] { finishToEnd(); });
    }
    void finishToEnd() {
        bound.stop();
        if (toEnd) {
            toEnd->stop();
            toEnd.reset();
        }
        if (std::function<void()> listener = std::move(ended)) {
            ended = nullptr;
            listener();
        }
    }
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

void QtSoundPlayer::playToEnd(const QString& path, std::function<void()> ended) {
    d->lastWaitBoundMs = 0;
    // A sound still playing to its end is cut short, and its listener told now.
    d->finishToEnd();
    const std::optional<int> length = wavDurationMs(path);
    // Nothing that could be heard: no wait, or the window would ignore the operator for the
    // sound's length on every alarm tick.
    if (!length || !outputThere()) {
        QTimer::singleShot(0, d->context.get(), std::move(ended));
        return;
    }
    d->ended = std::move(ended);
    auto effect = std::make_unique<QSoundEffect>();
    QSoundEffect* sound = effect.get();
    d->toEnd = std::move(effect);
    // Without a sound server the effect reports playing for ever: the bound ends the wait.
    d->bound.start(*length + 1000);
    const auto startWhenReady = [this, sound] {
        if (sound->status() == QSoundEffect::Error) {
            d->finishLater();
        } else if (sound->status() == QSoundEffect::Ready && !d->started) {
            d->started = true;
            sound->play();
        }
    };
    d->started = false;
    QObject::connect(sound, &QSoundEffect::statusChanged, sound, startWhenReady);
    QObject::connect(sound, &QSoundEffect::playingChanged, sound, [this, sound] {
        if (d->started && !sound->isPlaying())
            d->finishLater();
    });
    sound->setSource(QUrl::fromLocalFile(path));
    startWhenReady();
    if (sound->status() == QSoundEffect::Error)
        return;
    d->lastWaitBoundMs = *length + 1000;
}
