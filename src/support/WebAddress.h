#pragma once

#include <QString>

// Opens a web address in the default browser. An address that cannot be opened is
// passed over without a message.
void OpenWebAddress(const QString& address);
