#pragma once

#include <QByteArray>

#include "feed/AprsDecoder.h"
#include "feed/Tnc2.h"

// Decodes one packet written in text form, as the tests write them.
inline feed::AprsResult decodeLine(const QByteArray& line) {
    const feed::Tnc2Result parsed = feed::parseTnc2(line);
    if (!parsed.ok())
        return feed::AprsResult::failure(feed::AprsReject::BadName);
    return feed::decodeAprs(parsed.frame);
}

inline constexpr double DegreeTolerance = 1e-4;
