#include "support/UpdateRequest.h"

#include <QEventLoop>
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

UpdateFetchResult fetchUpdatePage(const QUrl& url, int timeoutMs, qint64 limitBytes) {
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    // Tell the server who asks, so that a misbehaving checker can be traced to us.
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Ringwarden update check"));

    QNetworkReply* reply = manager.get(request);
    QByteArray body;
    Failure failure = Failure::None;
    const auto abortAs = [&](Failure why) {
        if (failure == Failure::None)
            failure = why;
        reply->abort();
    };

    // Qt's transfer time-out restarts with every byte; this one counts from the start.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, [&] { abortAs(Failure::TimedOut); });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        // A page announced as too large is not worth waiting for.
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limitBytes)
            abortAs(Failure::TooLarge);
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        body += reply->readAll();
        if (body.size() > limitBytes)
            abortAs(Failure::TooLarge);
    });

    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) {
        deadline.start(timeoutMs);
        loop.exec();
    }
    deadline.stop();

    if (failure == Failure::None) {
        body += reply->readAll();
        if (body.size() > limitBytes)
            failure = Failure::TooLarge;
        else if (reply->error() != QNetworkReply::NoError)
            failure = Failure::Network;
    }

    UpdateFetchResult result;
    result.failure = failure;
    switch (failure) {
    case Failure::None:
        result.body = std::move(body);
        break;
    case Failure::TimedOut:
        result.errorDescription = QStringLiteral("The server did not answer within %1 seconds")
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
    return result;
}
