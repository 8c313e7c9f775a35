// Guards against an update check that hangs on a slow server, or takes a broken page for an answer.
#include <gtest/gtest.h>

#include <QTest>

#include "TestHttpServer.h"
#include "update/UpdateCheck.h"

namespace {

using Behaviour = TestHttpServer::Behaviour;
using Failure = UpdateFetchResult::Failure;

// The check's outcome, the event loop run until it has come (or 20 s, for one that hangs).
UpdateFetchResult fetchToEnd(const UpdateCheck& check) {
    QObject context;
    UpdateFetchResult outcome{Failure::Network, {}, QStringLiteral("no outcome")};
    bool came = false;
    check.fetch(&context, [&](const UpdateFetchResult& result) {
        outcome = result;
        came = true;
    });
    (void)QTest::qWaitFor([&] { return came; }, 20000); // else "no outcome"
    return outcome;
}

// Trickle: a byte every 300 ms, never silent for the 800 ms allowed.
TestHttpServer::Answer answer(Behaviour behaviour, const QByteArray& body,
                              const QByteArray& status = "200 OK") {
    return {behaviour, status, {}, body, 0, 1, 300};
}

TEST(UpdateRequest, EachWayAServerFailsIsOneVerdict) {
    static const char raw[] = "Quill\0feather \xff\xe9\x80 end";
    const QByteArray page(raw, sizeof raw - 1); // the NUL inside, not the one at the end
    const QByteArray big(kUpdatePageLimit + 1, 'a');
    const QString timedOut = QStringLiteral("The server did not answer within 0.8 seconds");
    const QString tooLarge = QStringLiteral("The page is larger than 1048576 bytes");
    const struct {
        const char* name;
        TestHttpServer::Answer served;
        Failure failure;
        QString description; // the whole text, or a part of the network's own
        bool refused = false;
    } rows[] = {
        {"noLength", answer(Behaviour::NoLength, page), Failure::None, {}},
        {"atTheLimit", answer(Behaviour::Answer, big.left(kUpdatePageLimit)), Failure::None, {}},
        {"trickles", answer(Behaviour::Trickle, page), Failure::TimedOut, timedOut},
        {"closesMidBody",
         answer(Behaviour::CloseMidBody, QByteArray(4000, 'q')),
         Failure::Network,
         {}},
        {"notFound", answer(Behaviour::Answer, page, "404 Not Found"), Failure::Network,
         QStringLiteral("Not Found")},
        {"tooLarge", answer(Behaviour::Answer, big), Failure::TooLarge, tooLarge},
        {"tooLargeNoLength", answer(Behaviour::NoLength, big), Failure::TooLarge, tooLarge},
        {"refused", {}, Failure::Network, QStringLiteral("refused"), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TestHttpServer server;
        server.setAnswer("/", row.served);
        const QString address =
            row.refused ? QStringLiteral("http://127.0.0.1:%1/").arg(TestHttpServer::refusingPort())
                        : server.baseAddress() + u'/';
        const UpdateFetchResult result = fetchToEnd(UpdateCheck(address, 800));
        EXPECT_EQ(result.failure, row.failure) << result.errorDescription.toStdString();
        EXPECT_EQ(result.body, result.ok() ? row.served.body : QByteArray());
        EXPECT_TRUE(result.errorDescription.contains(row.description, Qt::CaseInsensitive))
            << result.errorDescription.toStdString();
        // Qt's network layer asks once more when the server closes the connection before
        // the answer was read; never more than that.
        if (row.refused)
            EXPECT_EQ(server.requestCount(), 0);
        else
            EXPECT_TRUE(server.requestCount() == 1 || server.requestCount() == 2)
                << server.requestCount();
    }
}

} // namespace
