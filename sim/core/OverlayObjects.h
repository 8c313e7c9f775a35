#pragma once

#include <vector>

#include <QByteArray>
#include <QString>

// A fixed object of an overlay file, as the map shows it.
struct OverlayObject {
    QString name;
    double lat = 0.0; // decimal degrees, north positive
    double lon = 0.0; // decimal degrees, east positive
};

namespace overlayobjects {

// The objects of one overlay file: lines "NAME!DDMM.hhN/DDDMM.hhE#text" with a name of 1 to
// 8 characters. Lines holding "*" are skipped, and so is the line after an object without a
// text (its continuation, "NAME>text"); a position that is no position drops its line.
std::vector<OverlayObject> parse(const QByteArray& text);
// The objects of every *.pos file of `folder`, in file-name order; none for a missing folder.
std::vector<OverlayObject> readFolder(const QString& folder);

} // namespace overlayobjects
