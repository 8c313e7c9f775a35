#include "host/KestrelHost.h"

std::optional<QStringList> KestrelHost::StationListItems(qint16, qint16) {
    return std::nullopt;
}

std::optional<std::vector<std::optional<KestrelStation>>>
KestrelHost::GetStations(const QStringList&) {
    return std::nullopt;
}
