#pragma once

#include <QString>

// What the setup window and the settings file accept, one rule a field. Each check gives the
// problem in words for the operator (shown beside the field, or after the file and key), or
// an empty text when the value can be used.
namespace setup {

// The own callsign as the radio links carry it: 1 to 6 capital letters and digits, an
// optional SSID from 1 to 15 after "-". Lower case is refused, not changed.
QString callsignProblem(const QString& text);
// An APRS-IS login: 1 to 9 letters, digits and "-", as the APRS-IS link sends it.
QString loginProblem(const QString& text);
// An APRS-IS passcode: empty (receive only) or a number from 0 to 32767.
QString passcodeProblem(const QString& text);

// HOST:PORT. A text without ":" takes `defaultPort` (0: none; then the port is required).
// On success `normalised` is HOST:PORT.
QString addressProblem(const QString& text, quint16 defaultPort, QString* normalised = nullptr);

enum class Axis { Latitude, Longitude };
// A latitude or longitude in decimal degrees ("52.0583", "-1.0833") or degrees and decimal
// minutes ("52 03.498", "52°03.498'N", "W 1 05.0"); north and east positive, a hemisphere
// letter before or after instead of a sign. On success `degrees` holds the value.
QString coordinateProblem(const QString& text, Axis axis, double* degrees = nullptr);

// The APRS-IS filter range in whole kilometres, 1 to 20000.
QString rangeProblem(const QString& text, int* km = nullptr);
// Minutes after which unheard stations leave: more than 0.
QString expiryProblem(const QString& text, double* minutes = nullptr);
// "km", "mi" or "nm".
QString unitProblem(const QString& text);

} // namespace setup
