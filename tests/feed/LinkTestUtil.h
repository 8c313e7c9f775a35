#pragma once

#include <algorithm>
#include <functional>

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "feed/Ax25Frame.h"
#include "feed/FeedLink.h"
#include "feed/KissDeframer.h"
#include "feed/Tnc2.h"

// What a link emitted, gathered through plain connections.
struct LinkRecorder {
    QList<feed::PositionReport> reports;
    QStringList states;
    QStringList rejections;

    explicit LinkRecorder(feed::FeedLink& link) {
        QObject::connect(&link, &feed::FeedLink::reportReceived, &link,
                         [this](const feed::PositionReport& r) { reports << r; });
        QObject::connect(&link, &feed::FeedLink::stateChanged, &link,
                         [this](feed::FeedLink::State, const QString& text) { states << text; });
        QObject::connect(&link, &feed::FeedLink::rejected, &link,
                         [this](const QString& why) { rejections << why; });
    }
    int statesContaining(const QString& part) const {
        return static_cast<int>(std::count_if(states.begin(), states.end(),
                                              [&](const QString& s) { return s.contains(part); }));
    }
};

// The KISS bytes of a packet written in text form.
inline QByteArray kissOf(const QByteArray& tnc2) {
    return feed::kissEncode(feed::encodeAx25(feed::parseTnc2(tnc2).frame));
}

// Writes bytes in pieces of uneven sizes, letting each go out on its own.
inline void writeInChunks(QTcpSocket* socket, const QByteArray& bytes) {
    static constexpr int sizes[] = {1, 3, 7, 2, 11, 5, 13};
    int at = 0;
    for (int i = 0; at < bytes.size(); ++i) {
        const int n = sizes[i % 7];
        socket->write(bytes.mid(at, n));
        socket->flush();
        QTest::qWait(1);
        at += n;
    }
}

// A free port on 127.0.0.1 at the time of asking.
inline quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
