#pragma once

#include <vector>

#include <QString>

class StationLog;
class StationStore;

// What the details of a station say, as label and text pairs, for a window to show.
namespace details {

struct Field {
    QString label;
    QString value;
};

// Control characters (and DEL) as "\r", "\n", "\t" or "\xHH", so that a packet's text shows
// what came and cannot steer the terminal or the window.
QString escapeControls(const QString& text);

// Empty when the station is not in the list.
std::vector<Field> describe(const StationStore& store, const StationLog& log,
                            const QString& callsign, qint64 nowMs);

} // namespace details
