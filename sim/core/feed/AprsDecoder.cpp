#include "feed/AprsDecoder.h"

#include "feed/AprsFields.h"
#include "feed/AprsMicE.h"
#include "feed/AprsText.h"
#include "feed/Tnc2.h"

namespace feed {

namespace {

constexpr int ObjectNameLength = 9;
constexpr int ItemNameMin = 3;
constexpr int ItemNameMax = 9;
// A "!" position may stand this far into the field behind a TNC's beacon text.
constexpr int LatePositionLimit = 40;
// Third-party packets may wrap each other; a gateway may add one more wrapping, anything
// deeper is refused so that a crafted packet cannot make us recurse at will.
constexpr int MaxThirdPartyDepth = 2;

// Data type identifiers with a meaning of their own; a "!" later in such a packet is
// text, not a position. Beacon text that merely starts with a "T" is not telemetry ("T#").
bool isKnownType(const QByteArray& info) {
    static constexpr char known[] = "!\"#$%&'()*+,./:;<=>?@[\\]^_`{|}~";
    const char c = info[0];
    if (c == 'T')
        return info.startsWith("T#");
    for (const char k : known) {
        if (k != '\0' && k == c)
            return true;
    }
    return false;
}

// A position (with its symbol) at offset, then the comment to the end.
AprsReject positionAndComment(const QByteArray& info, int offset, PositionReport& report) {
    int length = 0;
    const AprsReject r = fields::readPosition(info, offset, report, length);
    if (r != AprsReject::None)
        return r;
    report.comment = cleanComment(info.mid(offset + length));
    return AprsReject::None;
}

AprsReject decodeObject(const QByteArray& info, PositionReport& report) {
    constexpr int stateAt = 1 + ObjectNameLength;
    if (info.size() <= stateAt)
        return AprsReject::Truncated;
    const char state = info[stateAt];
    if (state != '*' && state != '_')
        return AprsReject::BadObject;
    report.kind = PositionReport::Kind::Object;
    report.name = QString::fromLatin1(info.mid(1, ObjectNameLength)).trimmed();
    report.killed = state == '_';
    const AprsReject t = fields::checkTimestamp(info, stateAt + 1);
    if (t != AprsReject::None)
        return t;
    return positionAndComment(info, stateAt + 1 + fields::TimestampLength, report);
}

AprsReject decodeItem(const QByteArray& info, PositionReport& report) {
    // The name ends at the first "!" or "_", which a name may not contain.
    int stateAt = -1;
    for (int i = 1; i < info.size() && i <= 1 + ItemNameMax; ++i) {
        if (info[i] == '!' || info[i] == '_') {
            stateAt = i;
            break;
        }
    }
    if (stateAt < 0 && info.size() <= 1 + ItemNameMax)
        return AprsReject::Truncated;
    if (stateAt < 1 + ItemNameMin)
        return AprsReject::BadObject;
    report.kind = PositionReport::Kind::Item;
    report.name = QString::fromLatin1(info.mid(1, stateAt - 1)).trimmed();
    report.killed = info[stateAt] == '_';
    return positionAndComment(info, stateAt + 1, report);
}

AprsResult decode(const Ax25Frame& frame, int depth);

AprsResult decodeThirdParty(const Ax25Frame& frame, int depth) {
    if (depth >= MaxThirdPartyDepth)
        return AprsResult::failure(AprsReject::BadThirdParty);
    const Tnc2Result inner = parseTnc2(frame.info.mid(1));
    if (!inner.ok())
        return AprsResult::failure(AprsReject::BadThirdParty);
    return decode(inner.frame, depth + 1);
}

AprsResult decode(const Ax25Frame& frame, int depth) {
    const QByteArray& info = frame.info;
    if (info.isEmpty())
        return AprsResult::failure(AprsReject::Empty);
    AprsResult result;
    PositionReport& report = result.report;
    report.sender = frame.source.text();
    report.name = report.sender;
    AprsReject r = AprsReject::None;
    switch (info[0]) {
    case '!':
    case '=':
        r = positionAndComment(info, 1, report);
        break;
    case '/':
    case '@':
        r = fields::checkTimestamp(info, 1);
        if (r == AprsReject::None)
            r = positionAndComment(info, 1 + fields::TimestampLength, report);
        break;
    case ';':
        r = decodeObject(info, report);
        break;
    case ')':
        r = decodeItem(info, report);
        break;
    case '`':
    case '\'':
        r = decodeMicE(frame, report);
        break;
    case '}':
        return decodeThirdParty(frame, depth);
    default: {
        const int bang = isKnownType(info) ? -1 : info.left(LatePositionLimit).indexOf('!');
        r = bang < 0 ? AprsReject::NoPosition : positionAndComment(info, bang + 1, report);
        break;
    }
    }
    if (r == AprsReject::None && !isStorableName(report.name)) {
        // The name goes with the refusal, for its message.
        result.reject = AprsReject::BadName;
        return result;
    }
    if (r != AprsReject::None)
        return AprsResult::failure(r);
    return result;
}

} // namespace

QString aprsRejectText(AprsReject reason) {
    switch (reason) {
    case AprsReject::None:
        return QStringLiteral("ok");
    case AprsReject::Empty:
        return QStringLiteral("empty packet");
    case AprsReject::NoPosition:
        return QStringLiteral("no position");
    case AprsReject::Truncated:
        return QStringLiteral("truncated");
    case AprsReject::BadLatitude:
        return QStringLiteral("invalid latitude");
    case AprsReject::BadLongitude:
        return QStringLiteral("invalid longitude");
    case AprsReject::BadAmbiguity:
        return QStringLiteral("invalid position ambiguity");
    case AprsReject::BadSymbolTable:
        return QStringLiteral("invalid symbol");
    case AprsReject::BadTimestamp:
        return QStringLiteral("invalid timestamp");
    case AprsReject::BadCompressed:
        return QStringLiteral("invalid compressed position");
    case AprsReject::BadMicEDestination:
        return QStringLiteral("invalid Mic-E destination");
    case AprsReject::BadMicEInformation:
        return QStringLiteral("invalid Mic-E longitude");
    case AprsReject::BadName:
        return QStringLiteral("unusable name");
    case AprsReject::BadObject:
        return QStringLiteral("invalid object or item");
    case AprsReject::BadThirdParty:
        return QStringLiteral("invalid third-party header");
    }
    return {};
}

AprsResult decodeAprs(const Ax25Frame& frame) {
    return decode(frame, 0);
}

} // namespace feed
