#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include "feed/FeedLink.h"
#include "feed/LineReader.h"

namespace feed {

// Plays a file of TNC2 lines, as an APRS-IS server sends them, through the same decoder
// as a live link: a recorded or generated feed without a server. Lines come at a set rate,
// or as fast as they decode; either way in slices from a timer, so that the window, the bus
// and the map keep running while a large file plays.
class ReplaySource final : public FeedLink {
    Q_OBJECT
public:
    // The longest stretch of decoding between two turns of the event loop at rate 0.
    static constexpr int SliceMs = 4;

    explicit ReplaySource(QObject* parent = nullptr);

    // Opens the file and starts playing `linesPerSecond` lines a second (0: as fast as
    // they decode); false with `error` set when the file cannot be read.
    bool play(const QString& path, int linesPerSecond, QString* error);
    // "replay FILE: 1200 lines", "... done, 40000 lines".
    QString replayText() const;
    // Every line of the file so far, those too long to play included.
    quint64 linesRead() const { return m_lines; }
    bool finished() const { return m_finished; }

signals:
    void replayFinished();

protected:
    QString linkName() const override { return QStringLiteral("replay"); }
    // A piece of the file: cut into lines as an APRS-IS link cuts them.
    void bytesArrived(const QByteArray& bytes) override;
    // stop(): the file stays where it is.
    void linkDown() override { m_timer.stop(); }

private:
    void playSlice();
    bool playLine();

    QFile m_file;
    LineReader m_reader;
    // Lines cut from the piece of the file read last, and the next of them to play.
    QList<QByteArray> m_pending;
    qsizetype m_next = 0;
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_rate = 0;
    quint64 m_lines = 0;
    bool m_finished = false;
};

} // namespace feed
