#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

// Ringwarden.LST: one line per entry, "entry|Acknowledged" or "entry|Watched", each ended by
// CR LF, one byte per character (Latin-1), acknowledged entries first.
//
// An entry the line cannot hold as it is (a "|" or a CR in it, or a character beyond Latin-1,
// which a scenario file or a feed can bring) is written percent-encoded as UTF-8, with a third
// field that says so: "AB%7CCD|Acknowledged|%UTF8". Every other entry is written as it always
// was, so files stay as they were; an older reader takes an encoded line for the encoded text
// in the right list, never for a shorter callsign or a watch entry. A third field "%UTF8" is
// decoded only when the entry is a well-formed encoding of UTF-8; otherwise the line reads as
// it always did.

// A list file this large is not a list of callsigns; reading stops there (and the file
// counts as not read to its end, so it is kept as a copy before it is written over).
inline constexpr qint64 kMaxListFileBytes = 64 * 1024 * 1024;

struct LoadedLists {
    QStringList acked; // in file order; the window's sorted list puts them in place
    QStringList watch; // in file order
    // The file was read to its end (or there was none). false: what could be read is in the
    // lists, and the rest of the file was not seen.
    bool complete = true;
};

// Lines end at CR or CR LF; a lone LF is part of the text; a last line without a line end
// counts. A line whose second field is exactly "Acknowledged" is acknowledged; every other
// line (any other tag, no separator, an empty line) is watched. Nothing is dropped:
// duplicates and empty entries stay. A line cut short by a read error is not used.
LoadedLists readLists(QIODevice& device, qint64 maxBytes = kMaxListFileBytes);
// A missing file gives two empty lists, complete.
LoadedLists LoadLists(const QString& path);

// false when the device took fewer bytes than written.
bool writeLists(QIODevice& device, const QStringList& acked, const QStringList& watch);

// Writes the whole file beside the old one and puts it in place when complete: a failure
// leaves the previous file as it was. keepBackupFirst (the load did not read the file to its
// end): the existing file is first copied to path + ".bak"; when that copy cannot be made,
// the file is not written over at all. Never throws; false when nothing was saved.
bool SaveLists(const QString& path, const QStringList& acked, const QStringList& watch,
               bool keepBackupFirst) noexcept;

inline QString listBackupPath(const QString& path) {
    return path + QStringLiteral(".bak");
}
