#pragma once

#include <functional>

#include <QString>

// Every box and every hard end of the process goes through here, so that tests
// read what would have been shown instead of blocking on a box or losing the process.

enum class MessageIcon { None, Information, Warning, Critical };

struct MessageBoxRequest {
    MessageIcon icon = MessageIcon::None;
    QString title;
    QString text;
    // False for a notice: shown without waiting for its answer.
    bool waits = true;
};

using MessageBoxShower = std::function<void(const MessageBoxRequest&)>;
using ProcessEnder = std::function<void(int exitCode)>;

// Shows a modal box with one OK button and returns when it is closed.
void showMessageBox(MessageIcon icon, const QString& title, const QString& text);
// Shows a box with one OK button and returns at once: the program goes on, and a close of
// the window is not held by the box.
void showNoticeBox(MessageIcon icon, const QString& title, const QString& text);
// Ends the process at once: no window is unloaded, nothing is written.
[[noreturn]] void endProcess(int exitCode);

// Replace the shower (the window layer installs a QMessageBox one; tests record).
// Returns the previous one.
MessageBoxShower setMessageBoxShower(MessageBoxShower shower);
// Replace what endProcess does. A test's ender must not return (throw instead).
ProcessEnder setProcessEnder(ProcessEnder ender);
