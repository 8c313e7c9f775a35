#include "host/KestrelHost.h"

std::optional<QStringList> KestrelHost::StationListItems(qint16, qint16) {
    return std::nullopt;
}

std::optional<std::vector<std::optional<KestrelStation>>>
KestrelHost::GetStations(const QStringList&) {
    return std::nullopt;
}

std::unique_ptr<HostBlock> KestrelHost::requestBlock(qint16 first, qint16 count,
                                                     const WantedStations& wanted) {
    auto block = std::make_unique<HostBlock>(first, count);
    try {
        std::optional<QStringList> entries = StationListItems(first, count);
        if (!entries) {
            block->setNotOffered();
        } else {
            const QStringList callsigns = block->setEntries(*entries, wanted);
            if (!callsigns.isEmpty()) {
                auto fixes = GetStations(callsigns);
                if (fixes)
                    block->setFixes(std::move(*fixes));
            }
        }
    } catch (const HostError&) {
        block->setFailure(std::current_exception());
    }
    block->finish();
    return block;
}
