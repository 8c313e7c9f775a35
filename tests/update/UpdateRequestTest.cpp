// The request against a real server on 127.0.0.1, one way of failing at a time.
#include <gtest/gtest.h>

#include "TestHttpServer.h"
#include "support/UpdateRequest.h"
#include "support/UpdateState.h"

namespace {

using Behaviour = TestHttpServer::Behaviour;
using Answer = TestHttpServer::Answer;

class UpdateRequest : public ::testing::Test {
protected:
    UpdateFetchResult fetch(const QByteArray& path, int timeoutMs = 5000) {
        return fetchUpdatePage(QUrl(server.baseAddress() + QString::fromLatin1(path)), timeoutMs,
                               kUpdatePageLimit);
    }

    static Answer page(const QByteArray& body) {
        Answer answer;
        answer.body = body;
        return answer;
    }

    TestHttpServer server;
};

TEST_F(UpdateRequest, BodyArrivesByteForByteWithNulAndHighBytes) {
    static const char bytes[] = "Quill\0feather \xff\xe9\x80 end";
    // All of the literal but its closing NUL (a length of 23 read past its end).
    const QByteArray body(bytes, sizeof bytes - 1);
    server.setAnswer("/", page(body));
    const UpdateFetchResult result = fetch("/");
    ASSERT_TRUE(result.ok) << result.errorDescription.toStdString();
    EXPECT_EQ(result.body, body);
}

TEST_F(UpdateRequest, EmptyBodyIsASuccessfulEmptyPage) {
    server.setAnswer("/", page({}));
    const UpdateFetchResult result = fetch("/");
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.body.isEmpty());
}

TEST_F(UpdateRequest, RefusedConnectionFails) {
    const quint16 port = TestHttpServer::refusingPort();
    const UpdateFetchResult result = fetchUpdatePage(
        QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port)), 5000, kUpdatePageLimit);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.errorDescription.contains(QStringLiteral("refused"), Qt::CaseInsensitive))
        << result.errorDescription.toStdString();
}

TEST_F(UpdateRequest, SilentServerTimesOutWithItsOwnDescription) {
    Answer silent;
    silent.behaviour = Behaviour::NeverAnswer;
    server.setAnswer("/", silent);
    const UpdateFetchResult result = fetch("/", 300);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.errorDescription,
              QStringLiteral("The server did not answer within 0.3 seconds"));
    EXPECT_EQ(server.requestCount(), 1);
}

TEST_F(UpdateRequest, SlowAnswerWithinTheTimeOutArrives) {
    Answer slow = page("Quillfeather slow");
    slow.delayMs = 400;
    server.setAnswer("/", slow);
    const UpdateFetchResult result = fetch("/", 5000);
    ASSERT_TRUE(result.ok) << result.errorDescription.toStdString();
    EXPECT_EQ(result.body, "Quillfeather slow");
}

TEST_F(UpdateRequest, TimeOutCountsSilenceNotTheWholeTransfer) {
    // 20 pieces 100 ms apart take about 2 s in all, longer than the 1.5 s allowed for
    // silence; the transfer must still complete.
    Answer trickle = page(QByteArray(20 * 16, 'x'));
    trickle.behaviour = Behaviour::Trickle;
    trickle.pieceSize = 16;
    trickle.pieceIntervalMs = 100;
    server.setAnswer("/", trickle);
    const UpdateFetchResult result = fetch("/", 1500);
    ASSERT_TRUE(result.ok) << result.errorDescription.toStdString();
    EXPECT_EQ(result.body.size(), 320);
}

TEST_F(UpdateRequest, RedirectIsFollowed) {
    Answer moved;
    moved.status = "302 Found";
    moved.headers = {{"Location", "/home"}};
    server.setAnswer("/", moved);
    server.setAnswer("/home", page("Quillfeather moved"));
    const UpdateFetchResult result = fetch("/");
    ASSERT_TRUE(result.ok) << result.errorDescription.toStdString();
    EXPECT_EQ(result.body, "Quillfeather moved");
    EXPECT_EQ(server.requestCount(), 2);
}

TEST_F(UpdateRequest, EndlessRedirectsFail) {
    Answer loop;
    loop.status = "302 Found";
    loop.headers = {{"Location", "/"}};
    server.setAnswer("/", loop);
    EXPECT_FALSE(fetch("/").ok);
}

TEST_F(UpdateRequest, NotFoundFailsEvenWithTheSignatureInItsBody) {
    Answer missing = page("Quillfeather Kestrel32 add-on Ringwarden Version V9.9.9 ");
    missing.status = "404 Not Found";
    server.setAnswer("/", missing);
    const UpdateFetchResult result = fetch("/");
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.body.isEmpty());
    EXPECT_TRUE(result.errorDescription.contains(QStringLiteral("Not Found")))
        << result.errorDescription.toStdString();
}

TEST_F(UpdateRequest, ServerHangingUpMidBodyFails) {
    Answer cut = page(QByteArray(4000, 'q'));
    cut.behaviour = Behaviour::CloseMidBody;
    server.setAnswer("/", cut);
    EXPECT_FALSE(fetch("/").ok);
}

TEST_F(UpdateRequest, PageOfExactlyTheLimitArrives) {
    server.setAnswer("/", page(QByteArray(kUpdatePageLimit, 'a')));
    const UpdateFetchResult result = fetch("/");
    ASSERT_TRUE(result.ok) << result.errorDescription.toStdString();
    EXPECT_EQ(result.body.size(), kUpdatePageLimit);
}

class OversizedPage : public UpdateRequest, public ::testing::WithParamInterface<Behaviour> {};

TEST_P(OversizedPage, FailsAsARequest) {
    Answer big = page(QByteArray(kUpdatePageLimit + 1, 'a'));
    big.behaviour = GetParam();
    server.setAnswer("/", big);
    const UpdateFetchResult result = fetch("/");
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.body.isEmpty());
    EXPECT_EQ(result.errorDescription, QStringLiteral("The page is larger than 1048576 bytes"));
}

// With its length announced, and without (the body ends when the server hangs up).
INSTANTIATE_TEST_SUITE_P(AnnouncedOrNot, OversizedPage,
                         ::testing::Values(Behaviour::Answer, Behaviour::NoLength));

} // namespace
