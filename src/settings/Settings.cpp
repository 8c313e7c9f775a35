#include "settings/Settings.h"

#include <QList>
#include <QPair>

#include "numbers/NumericText.h"
#include "settings/IniHelpers.h"
#include "settings/ProfileFile.h"

const SettingKey& settingKey(Setting id) {
    for (const SettingKey& key : kSettingKeys)
        if (key.id == id)
            return key;
    return kSettingKeys.front(); // every Setting has its row
}

bool IniValues::on(Setting id) const {
    QString text = m_texts.value(id);
    return TextToBool(text);
}

void IniValues::setOn(Setting id, bool value) {
    m_texts.insert(id, BoolToText(value));
}

double IniValues::number(Setting id) const {
    return numericValue(m_texts.value(id));
}

IniValues readSettingsFile(const QString& iniFile, double centredLeft, double centredTop) {
    IniValues values;
    for (const SettingKey& key : kSettingKeys) {
        QString defaultText = QString::fromLatin1(key.defaultText);
        if (key.kind == SettingKind::Position)
            defaultText =
                QString::number(toInt16Rounded(key.id == Setting::Left ? centredLeft : centredTop));
        const QString name = QString::fromLatin1(key.name);
        values.setText(key.id, key.writtenBackWhenDefault
                                   ? GetIniSetting(iniFile, kSetupSection, name, defaultText)
                                   : ReadIniString(iniFile, kSetupSection, name, defaultText));
    }
    return values;
}

bool saveSettingsFile(const QString& iniFile, const IniValues& values) noexcept {
    try {
        QList<QPair<QString, QString>> keys;
        for (const SettingKey& key : kSettingKeys) {
            if (!key.savedAtShutdown)
                continue;
            QString text = values.text(key.id);
            if (key.kind == SettingKind::Text)
                text = text.trimmed();
            keys.append({QString::fromLatin1(key.name), text});
        }
        return writeProfileStrings(iniFile, kSetupSection, keys);
    } catch (...) {
        // Out of memory, at worst: the lists must still be saved after this.
        return false;
    }
}

bool writeSwitchSetting(const QString& iniFile, Setting id, bool value) noexcept {
    try {
        return writeProfileString(iniFile, kSetupSection, keyName(id), BoolToText(value));
    } catch (...) {
        return false;
    }
}
