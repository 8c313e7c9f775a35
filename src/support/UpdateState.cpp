#include "support/UpdateState.h"

QString gstrUpdateServer;
QString gstrUpdateFile;
bool gblnUpdateBusy = false;

namespace {

QString& serverAddress() {
    static QString address = kDefaultUpdateServer;
    return address;
}

int& timeoutMs() {
    static int value = kDefaultUpdateTimeoutMs;
    return value;
}

} // namespace

QString updateServerAddress() {
    return serverAddress();
}

void setUpdateServerAddress(const QString& address) {
    serverAddress() = address;
}

int updateTimeoutMs() {
    return timeoutMs();
}

void setUpdateTimeoutMs(int milliseconds) {
    timeoutMs() = milliseconds;
}
