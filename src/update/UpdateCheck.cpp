#include "update/UpdateCheck.h"

#include <QUrl>

#include "BuildInfo.h"

UpdateCheck::UpdateCheck()
    : UpdateCheck(QString::fromUtf8(BuildInfo::updateUrl), kDefaultUpdateTimeoutMs) {}

UpdateCheck::UpdateCheck(const QString& serverAddress, int timeoutMs)
    : m_serverAddress(serverAddress), m_timeoutMs(timeoutMs) {
    while (m_serverAddress.endsWith(u'/'))
        m_serverAddress.chop(1);
}

void UpdateCheck::fetch(QObject* context,
                        std::function<void(const UpdateFetchResult&)> done) const {
    fetchUpdatePage(QUrl(m_serverAddress), m_timeoutMs, kUpdatePageLimit, context, std::move(done));
}
