#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPushButton;
class LinkLabel;

// The About window: title, description, web link, legal notice and disclaimer, above
// every ordinary window, not modal. Help > About shows it once; while it is open a
// second Help > About does nothing.
class frmAbout final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAbout)
public:
    // Loads and shows the window for mainWindow, unless one is open already; the window
    // closes when the main window does. Returns the open window.
    static frmAbout* showAbout(QWidget* mainWindow);
    // The window while it is loaded, otherwise nullptr.
    static frmAbout* openWindow();

    // The program's web site, shown as the link.
    static QString webSiteAddress();
    // The legal notice to show: the build's notice, or "Not set in Project!" without one.
    static QString legalNoticeText(const QString& buildNotice);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label8 = nullptr;
    LinkLabel* lblWebURL = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QPushButton* Command1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmAbout(QWidget* mainWindow);
    void buildControls();
    void formLoad();
    void centreOnScreen();
    void command1Click();
    void lblWebURLClick();

    QString m_credit;
    QString m_description;
    QString m_webAddress;
    QString m_legalNotice;
    QString m_disclaimer;
};
