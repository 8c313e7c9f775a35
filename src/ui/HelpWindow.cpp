#include "ui/HelpWindow.h"

#include <QEvent>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

HelpWindow* HelpWindow::openWindow(QWidget* mainWindow) {
    return mainWindow ? mainWindow->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly)
                      : nullptr;
}

HelpWindow* HelpWindow::showPage(QWidget* mainWindow, const QString& path) {
    HelpWindow* window = openWindow(mainWindow);
    if (!window)
        window = new HelpWindow(mainWindow);
    window->m_browser->setSource(QUrl::fromLocalFile(path));
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

HelpWindow::HelpWindow(QWidget* mainWindow) : QWidget(mainWindow, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Ringwarden help"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpText"));
    // Links that leave the page go to the desktop's browser, if it has one.
    m_browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(720, 560);
    if (mainWindow)
        mainWindow->installEventFilter(this);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    // The main window closing takes this window with it; minimising it does not.
    if (watched == parentWidget() && event->type() == QEvent::Hide && !event->spontaneous())
        close();
    return QWidget::eventFilter(watched, event);
}

void ShowHelp(QWidget* mainWindow, const QString& path, const UrlOpener& opener) {
    if (OpenHelpFile(path, opener) == HelpOpened::Refused)
        HelpWindow::showPage(mainWindow, path);
}
