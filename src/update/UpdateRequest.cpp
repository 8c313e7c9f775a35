#include "update/UpdateRequest.h"

#include <memory>

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

using Failure = UpdateFetchResult::Failure;

QString secondsText(int milliseconds) {
    return QString::number(milliseconds / 1000.0);
}

} // namespace

void fetchUpdatePage(const QUrl& url, int timeoutMs, qint64 limitBytes, QObject* context,
                     std::function<void(const UpdateFetchResult&)> done) {
    // Lives until the reply has finished; goes with the context when that goes first.
    auto* manager = new QNetworkAccessManager(context);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    // Tell the server who asks, so that a misbehaving checker can be traced to us.
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Ringwarden update check"));

    QNetworkReply* reply = manager->get(request);
    struct State {
        QByteArray body;
        Failure failure = Failure::None;
        QTimer deadline;
    };
    auto state = std::make_shared<State>();
    const auto abortAs = [reply, state](Failure why) {
        if (state->failure == Failure::None)
            state->failure = why;
        reply->abort();
    };

    // Qt's transfer time-out restarts with every byte; this one counts from the start.
    state->deadline.setSingleShot(true);
    QObject::connect(&state->deadline, &QTimer::timeout, reply,
                     [abortAs] { abortAs(Failure::TimedOut); });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, limitBytes, abortAs] {
        // A page announced as too large is not worth waiting for.
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limitBytes)
            abortAs(Failure::TooLarge);
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, state, limitBytes, abortAs] {
        state->body += reply->readAll();
        if (state->body.size() > limitBytes)
            abortAs(Failure::TooLarge);
    });
    QObject::connect(
        reply, &QNetworkReply::finished, manager,
        [reply, manager, state, limitBytes, timeoutMs, done = std::move(done)] {
            state->deadline.stop();
            Failure failure = state->failure;
            if (failure == Failure::None) {
                state->body += reply->readAll();
                if (state->body.size() > limitBytes)
                    failure = Failure::TooLarge;
                else if (reply->error() != QNetworkReply::NoError)
                    failure = Failure::Network;
            }
            UpdateFetchResult result;
            result.failure = failure;
            switch (failure) {
            case Failure::None:
                result.body = std::move(state->body);
                break;
            case Failure::TimedOut:
                result.errorDescription =
                    QStringLiteral("The server did not answer within %1 seconds")
                        .arg(secondsText(timeoutMs));
                break;
            case Failure::TooLarge:
                result.errorDescription =
                    QStringLiteral("The page is larger than %1 bytes").arg(limitBytes);
                break;
            case Failure::Network:
                result.errorDescription = reply->errorString();
                break;
            }
            manager->deleteLater();
            done(result);
        },
        Qt::QueuedConnection);
    state->deadline.start(timeoutMs);
}
