#pragma once

#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "feed/AprsDecoder.h"
#include "feed/Ax25Frame.h"
#include "feed/FeedLink.h"
#include "feed/KissDeframer.h"
#include "feed/Tnc2.h"

// Decodes one packet written in text form, as the tests write them.
inline feed::AprsResult decodeLine(const QByteArray& line) {
    const feed::Tnc2Result parsed = feed::parseTnc2(line);
    if (!parsed.ok())
        return feed::AprsResult::failure(feed::AprsReject::BadName);
    return feed::decodeAprs(parsed.frame);
}

// The KISS bytes of a packet written in text form.
inline QByteArray kissOf(const QByteArray& tnc2) {
    return feed::kissEncode(feed::encodeAx25(feed::parseTnc2(tnc2).frame));
}

// Writes bytes in pieces of uneven sizes, letting each go out on its own.
inline void writeInChunks(QTcpSocket* socket, const QByteArray& bytes) {
    static constexpr int sizes[] = {1, 3, 7, 2, 11, 5, 13};
    for (int i = 0, at = 0; at < bytes.size(); at += sizes[i++ % 7]) {
        socket->write(bytes.mid(at, sizes[i % 7]));
        socket->flush();
        QTest::qWait(1);
    }
}

// What a link emitted.
struct LinkRecorder {
    QList<feed::PositionReport> reports;
    QList<int> retryDelays;

    explicit LinkRecorder(feed::FeedLink& link) {
        QObject::connect(&link, &feed::FeedLink::reportReceived, &link,
                         [this](const feed::PositionReport& r) { reports << r; });
        QObject::connect(&link, &feed::FeedLink::retryScheduled, &link,
                         [this](int ms) { retryDelays << ms; });
    }
};

// A free port on 127.0.0.1 at the time of asking.
inline quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
