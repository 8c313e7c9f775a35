#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "update/UpdateCheck.h"
#include "update/UpdateOutcome.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class LinkLabel;

// The update window: a coloured status line, the download link once an update is found,
// More/Less to show the log of the check's steps, and Close, which is refused while the
// request is outstanding.
class frmUpdate final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmUpdate)
public:
    // The window while it is loaded, otherwise nullptr.
    static frmUpdate* openWindow();
    // The loaded window, or a new one for mainWindow, loaded (collapsed) and shown.
    static frmUpdate* loadWindow(QWidget* mainWindow);

    QLabel* Label1 = nullptr;
    LinkLabel* lblWebURL = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command1 = nullptr;
    QPlainTextEdit* txtLogging = nullptr;

    // Appends one line to the log, cutting an overgrown log first.
    void AddLogLine(const QString& text);

    // The status line's text colour.
    void setStatusColour(UpdateStatusColour colour);
    QColor statusColour() const;

    // The window's outer height in twips: the client area and a nominal caption and
    // border, so that the window keeps its designed proportions whatever the frame.
    int outerHeightTwips() const { return m_outerHeightTwips; }
    static constexpr int kNominalFrameTwips = 330;

    // Empties status line and log, hides the log and the link, greys Close.
    void prepareForCheck();

    // True while the request is outstanding: the window refuses to close meanwhile.
    bool isBusy() const { return m_busy; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmUpdate(QWidget* mainWindow);
    void buildControls();
    void setOuterHeightTwips(int twips);
    void formLoad();
    void command3Click();
    void command1Click();
    void lblWebURLClick();

    friend void CheckForUpdate(QWidget& caller, const UpdateCheck& check);
    // What the window shows once the request has ended.
    static void showOutcome(const QPointer<QWidget>& callerWindow,
                            const QPointer<frmUpdate>& window, const QString& server,
                            const UpdateFetchResult& fetched);

    int m_outerHeightTwips = 0;
    bool m_busy = false;
    // The running or last check's server, and the update file its page announced (empty
    // until an update was found): the link downloads that file from that server.
    QString m_serverAddress;
    QString m_updateFile;
    // The main window went away while the request was outstanding: close once it ends.
    bool m_closeWhenIdle = false;
};

// Runs the update check against check's server for the window that asked for it, which
// must hold a menu item (QAction or widget) named "mnuHelpUpdate": that item is greyed
// while the check runs and enabled again after every outcome. Returns at once; the window
// shows the outcome when the request has ended, at the latest after check's time-out, and
// stays open. A check started while one is running only raises its window.
void CheckForUpdate(QWidget& caller, const UpdateCheck& check);

// Appends one line to the open update window's log; nothing without one.
void AddLogLine(const QString& text);
