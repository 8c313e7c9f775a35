#pragma once

#include <QString>

// The settings helpers shared by the settings reader and by start-up (the host's file).

// The value as a 500-character buffer holds it: longer values come back cut to 499.
QString ReadIniString(const QString& file, const QString& section, const QString& key,
                      const QString& defaultValue);

// ReadIniString, and when the value equals the default (exactly), the default is written
// back: the first start creates the file with every key it reads.
QString GetIniSetting(const QString& file, const QString& section, const QString& key,
                      const QString& defaultValue);

// Upper-cases text in place (callers see the change); true for "TRUE", "YES", "1" and "ON".
bool TextToBool(QString& text);

QString BoolToText(bool value);
