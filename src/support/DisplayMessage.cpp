#include "support/DisplayMessage.h"

#include "support/Globals.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QString kErrorTitleSuffix = QStringLiteral(" Error message");
} // namespace

MessageBoxRequest buildMessage(qint16 kind, const QString& text, const QString& helpFile) {
    switch (kind) {
    case kMessageInformational:
        return {MessageIcon::Information, appTitle + QStringLiteral(" Informational message"),
                kCrLf + kCrLf + text};
    case kMessageError:
        return {MessageIcon::Warning, appTitle + kErrorTitleSuffix,
                QStringLiteral("The following error has ocurred, you may want to read the online "
                               "help file (") +
                    helpFile + QStringLiteral(") on this :") + kCrLf + kCrLf + text};
    case kMessageCritical:
        return {MessageIcon::Critical, appTitle + kErrorTitleSuffix,
                QStringLiteral("The following critical error has ocurred, you may want to read "
                               "the online help file (") +
                    helpFile + QStringLiteral(") on this :") + kCrLf + kCrLf + text + kCrLf +
                    kCrLf + QStringLiteral("The program will be stopped")};
    default:
        return {};
    }
}

void DisplayMessage(qint16 kind, const QString& text, const QString& helpFile) {
    const MessageBoxRequest request = buildMessage(kind, text, helpFile);
    if (request.title.isEmpty())
        return;
    showMessageBox(request.icon, request.title, request.text);
    if (kind == kMessageCritical)
        endProcess(1);
}
