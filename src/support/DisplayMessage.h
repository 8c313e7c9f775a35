#pragma once

#include <QString>

#include "support/MessageBoxSeam.h"

// The three message kinds; the value is the style handed to the box.
enum : qint16 {
    kMessageInformational = 64,
    kMessageError = 48,
    kMessageCritical = 16,
};

// Title and body of a message of the given kind (the error kinds name the help page
// helpFile); an empty request (icon None, no title) for a kind that shows nothing.
MessageBoxRequest buildMessage(qint16 kind, const QString& text, const QString& helpFile);

// Shows an informational (64), error (48) or critical (16) box; the critical kind ends
// the process once the box is closed. Any other kind shows nothing.
void DisplayMessage(qint16 kind, const QString& text, const QString& helpFile);
