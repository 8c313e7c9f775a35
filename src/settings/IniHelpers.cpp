#include "settings/IniHelpers.h"

#include "settings/ProfileFile.h"

namespace {
constexpr int kIniBufferSize = 500;
}

QString ReadIniString(const QString& file, const QString& section, const QString& key,
                      const QString& defaultValue) {
    return readProfileString(file, section, key, defaultValue, kIniBufferSize);
}

QString GetIniSetting(const QString& file, const QString& section, const QString& key,
                      const QString& defaultValue) {
    const QString value = ReadIniString(file, section, key, defaultValue);
    if (value == defaultValue)
        writeProfileString(file, section, key, defaultValue); // unchecked: the value stands
    return value;
}

bool TextToBool(QString& text) {
    text = text.toUpper();
    return text == QLatin1String("TRUE") || text == QLatin1String("YES") ||
           text == QLatin1String("1") || text == QLatin1String("ON");
}

QString BoolToText(bool value) {
    return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}
