#include "app/HostFolder.h"

#include <QSettings>

#include "support/Globals.h"
#include "support/MessageBoxSeam.h"

HostFolderResult readHostFolder() {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brightmoor"),
                    QStringLiteral("Kestrel32"));
    const QString folder = store.value(QStringLiteral("Program Folder"), QString()).toString();
    switch (store.status()) {
    case QSettings::NoError:
        return {folder, {}};
    case QSettings::AccessError:
        return {{}, QStringLiteral("Access is denied: ") + store.fileName()};
    case QSettings::FormatError:
        return {{}, QStringLiteral("The settings file is damaged: ") + store.fileName()};
    }
    return {{}, QStringLiteral("Unknown error reading ") + store.fileName()};
}

QString GetHostFolder() {
    const HostFolderResult result = readHostFolder();
    if (result.errorText.isEmpty())
        return result.folder;
    showMessageBox(MessageIcon::Critical, kDefaultMessageTitle,
                   QStringLiteral("An error occurred getting the Kestrel folder. ") +
                       QStringLiteral("The system error message is '") + result.errorText +
                       QStringLiteral("'"));
    return {};
}
