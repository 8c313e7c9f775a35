#pragma once

#include <functional>

#include <QMainWindow>
#include <QString>

#include "engine/AlarmEngine.h"
#include "support/MessageBoxSeam.h"
#include "update/UpdateCheck.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class ListBox;
class WindowTimer;

// The main window. It shows the engine's lists and captions and forwards the operator's
// input to the engine; it keeps only what is its own to show: the watch-list panel, its
// place on the screen. Every control carries its design
// name as the Qt object name, so that tests find it.
class frmMain final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)
public:
    explicit frmMain(AlarmEngine& engine, QWidget* parent = nullptr);
    ~frmMain() override;

    void setHelpFile(const QString& path) { m_helpFile = path; }
    // Where Help › Check for update asks (the compiled-in server unless set).
    void setUpdateCheck(const UpdateCheck& check) { m_updateCheck = check; }

    // --- the place on the screen, in twips as the settings file keeps it ---
    double leftTwips() const;
    double topTwips() const;
    void moveToTwips(double left, double top);
    double logicalDpi() const;
    // Where the window stands centred on the primary screen.
    QPointF centredTwips();
    // The place last seen while not minimised (m_left, m_top).
    qint16 rememberedLeft() const { return m_left; }
    qint16 rememberedTop() const { return m_top; }
    void setRememberedPosition(qint16 left, qint16 top);
    void formResize();

    // Which list the right-hand panel shows: the watch list (true) or the overlay objects.
    void setShowWatchList(bool on) { m_showWatchList = on; }
    void showHideWatchlist();
    void cmdShowWatchClick();
    void setTimer2Enabled(bool on);

    // Raised above the other windows; a minimised or maximised window is restored.
    void bringToFront();
    // The program is leaving without the operator: whatever box, menu or window is open
    // ends, and the window closes.
    void closeWithEverythingOpen();

    // Opens a context menu and returns when it is closed; tests replace it.
    std::function<void(QMenu*, const QPoint&)> popupMenu;
    bool isUnloaded() const { return m_unloaded; }

signals:
    // The window is closing for good (after start-up: the settings and lists are saved).
    void unloading();
    // File › Exit.
    void exitRequested();
    // Alarm › Alarm history.
    void historyRequested();
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenus();
    void setTabOrderChain();
    void connectEngine();
    void hint(MessageIcon icon, const QString& text);
    void openPopup(QMenu* menu, const QPoint& globalPos);
    void showTickFailure(const QString& message);
    void showSwitch(AlarmEngine::Switch which, bool on);
    // A switch whose need is missing says so in its item, greyed unless it is on.
    void showExtraSwitch(QAction* action, bool on, bool available);
    void enableDisableStations(bool on);
    void enableDisableOverlays(bool on);
    void toggle(AlarmEngine::Switch which);

    void mnuFileExitClick();
    void mnuHelpHelpClick();
    void mnuHelpAboutClick();
    void mnuHelpUpdateClick();
    void timer2Timer();
    void cmdAckClick();
    void cmdAckAllClick();
    void cmdRearmClick();
    void cmdRearmAllClick();
    void mnuPopup1AckClick();
    void mnuPopup2ReArmClick();
    void mnuPopu3DeleteClick();
    void lstStationsMouseDown(int button, const QPoint& globalPos);
    void lstAckedMouseDown(int button, const QPoint& globalPos);
    void lstWatchMouseDown(int button, const QPoint& globalPos);
    void lstOverlayItemsClick();
    void cmdAddWatchClick();
    // Filters one typed character; returns the code to type (0: nothing).
    int txtWatchKeyPress(int keyAscii);

    AlarmEngine& m_engine;
    QString m_helpFile;
    UpdateCheck m_updateCheck;

    QLabel* lblAlarmRange1 = nullptr;
    QLineEdit* txtRadius = nullptr;
    QLabel* lblAlarmRange2 = nullptr;
    QLabel* lblWatchlist = nullptr;
    QLineEdit* txtWatch = nullptr;
    QPushButton* cmdAddWatch = nullptr;
    QPushButton* cmdShowWatch = nullptr;
    QLabel* lblMinDist = nullptr;
    QLabel* lblStationsAlarm = nullptr;
    QLabel* lblStationsAcked = nullptr;
    QLabel* lblOverlays = nullptr;
    ListBox* lstStations = nullptr;
    QPushButton* cmdAck = nullptr;
    QPushButton* cmdAckAll = nullptr;
    QPushButton* cmdRearm = nullptr;
    QPushButton* cmdRearmAll = nullptr;
    ListBox* lstAcked = nullptr;
    ListBox* lstOverlayItems = nullptr;
    ListBox* lstWatch = nullptr;
    QLabel* lblOVLItem = nullptr;
    WindowTimer* Timer2 = nullptr; // folds the watch list away 15 s after it was shown

    QMenu* mnuFile = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuSetup = nullptr;
    QAction* mnuAlarmBringToFront = nullptr;
    QAction* mnuAlarm = nullptr;
    QAction* mnuAlarmNotify = nullptr;
    QAction* mnuAlarmSpeak = nullptr;
    QAction* mnuAlarmHistory = nullptr;
    QMenu* mnuOptions = nullptr;
    QAction* mnuOptionsStations = nullptr;
    QAction* mnuOptionsOverlays = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpHelp = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QAction* mnuHelpUpdate = nullptr;
    QMenu* mnuPopup1 = nullptr;
    QAction* mnuPopup1Ack = nullptr;
    QMenu* mnuPopup2 = nullptr;
    QAction* mnuPopup2ReArm = nullptr;
    QMenu* mnuPopup3 = nullptr;
    QAction* mnuPopu3Delete = nullptr;

    bool m_showWatchList = false;
    qint16 m_left = 0;
    qint16 m_top = 0;
    bool m_unloaded = false;
};
