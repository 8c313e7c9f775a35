#pragma once

#include <QString>
#include <QWidget>

#include "support/HelpBrowser.h"

class QTextBrowser;

// Ringwarden's own plain viewer of the help page, for a desktop that has no program for
// HTML files. One per main window; it closes with it.
class HelpWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpWindow)
public:
    // The window of mainWindow while it is open, otherwise nullptr.
    static HelpWindow* openWindow(QWidget* mainWindow);
    // Shows the page in mainWindow's help window, made when there is none.
    static HelpWindow* showPage(QWidget* mainWindow, const QString& path);

    QTextBrowser* browser() const { return m_browser; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit HelpWindow(QWidget* mainWindow);

    QTextBrowser* m_browser = nullptr;
};

// F1 and Help > Help: the page in the desktop's viewer, or in a HelpWindow when the desktop
// refuses it; a missing page shows nothing.
void ShowHelp(QWidget* mainWindow, const QString& path, const UrlOpener& opener = openWithDesktop);
