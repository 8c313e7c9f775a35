#pragma once

#include <QHash>
#include <QString>

#include "settings/SettingsKeys.h"

// The values of Ringwarden.INI's keys as texts, with the readings the program applies.
class IniValues final {
public:
    QString text(Setting id) const { return m_texts.value(id); }
    void setText(Setting id, const QString& text) { m_texts.insert(id, text); }
    // A switch: "TRUE", "YES", "1" or "ON" in any case.
    bool on(Setting id) const;
    void setOn(Setting id, bool value);
    // A position in twips: the numeric value of the text.
    double number(Setting id) const;

private:
    QHash<Setting, QString> m_texts;
};

// Reads every key of SETUP in table order, writing back those that equal their default.
// centredLeft and centredTop (twips) become the LEFT and TOP defaults, rounded and held to
// the 16-bit range. Write failures are not reported: the values read stand.
IniValues readSettingsFile(const QString& iniFile, double centredLeft, double centredTop);

// Writes the keys saved at shutdown in one rewrite of the file (blanks round the radius
// dropped). Never throws; false when the file could not be written (it is then as it was),
// and the caller goes on to save the lists either way.
bool saveSettingsFile(const QString& iniFile, const IniValues& values) noexcept;

// A menu switch writes its own key the moment it is toggled, so the choice outlives a process
// that ends without shutting down. false when the file could not be written.
bool writeSwitchSetting(const QString& iniFile, Setting id, bool value) noexcept;
