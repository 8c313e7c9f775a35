#include "support/UpdateRequest.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {

QString secondsText(int milliseconds) {
    return QString::number(milliseconds / 1000.0);
}

QString tooLargeText(qint64 limitBytes) {
    return QStringLiteral("The page is larger than %1 bytes").arg(limitBytes);
}

} // namespace

UpdateFetchResult fetchUpdatePage(const QUrl& url, int timeoutMs, qint64 limitBytes) {
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    // Tell the server who asks, so that a misbehaving checker can be traced to us.
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Ringwarden update check"));

    QNetworkReply* reply = manager.get(request);
    QByteArray body;
    bool tooLarge = false;

    const auto dropWhenTooLarge = [&] {
        if (body.size() > limitBytes) {
            tooLarge = true;
            reply->abort();
        }
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        // A page announced as too large is not worth waiting for.
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limitBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&] {
        body += reply->readAll();
        dropWhenTooLarge();
    });

    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec();

    UpdateFetchResult result;
    if (!tooLarge) {
        body += reply->readAll();
        dropWhenTooLarge();
    }
    if (tooLarge) {
        result.errorDescription = tooLargeText(limitBytes);
    } else if (reply->error() == QNetworkReply::OperationCanceledError) {
        // The transfer time-out cancels the request; nothing else here does.
        result.errorDescription = QStringLiteral("The server did not answer within %1 seconds")
                                      .arg(secondsText(timeoutMs));
    } else if (reply->error() != QNetworkReply::NoError) {
        result.errorDescription = reply->errorString();
    } else {
        result.ok = true;
        result.body = std::move(body);
    }
    return result;
}
