#pragma once

#include <vector>

#include <QByteArray>
#include <QString>

// One fixed object of the host's overlay files.
struct OverlayItem {
    QString strName;
    float sngLat = 0.0f;  // minutes of arc, north positive
    float sngLong = 0.0f; // minutes of arc, east positive
    QString strText;
};

// The object table: entries 1..count hold the objects of the last load; entry 0
// is never used, entries above the count keep stale values. Its size never changes.
struct OverlayTable {
    static constexpr int kMaxItems = 2500;
    std::vector<OverlayItem> gOverlayItems = std::vector<OverlayItem>(kMaxItems + 1);
    qint16 count = 0;
};

// The overlays folder: below the host's program folder, or below the program's own
// folder when the host has recorded none.
QString overlayFolderPath(const QString& hostFolder, const QString& ownFolder);

// Reads the object lines of one overlay file (Latin-1, lines ending in CR, CR LF or LF) into
// the table, going on from `count` (the running count across files); returns the new count.
// Lines whose position fields cannot be converted are skipped and not counted.
int readOverlayObjects(const QByteArray& content, OverlayTable& table, int count);

// Reads every *.pos file of the folder (its name matched regardless of case), in name order,
// into the table; returns the object count. A file that cannot be opened or read is skipped.
int readOverlayFolder(const QString& folder, OverlayTable& table);

// An object's distance in km from the own station.
double overlayDistance(float ownLatitude, float ownLongitude, const OverlayItem& item);
