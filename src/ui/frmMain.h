#pragma once

#include <functional>
#include <memory>

#include <QMainWindow>
#include <QString>

#include "host/KestrelHost.h"
#include "support/MessageBoxSeam.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class ListBox;
class SoundPlayer;
struct AlarmContext;
class TextList;
class WindowTimer;

// The main window: it owns every list, switch, timer and host object of the program.
// Public members carry the names of the window's design so that the rest of the program
// and the tests find them; every control also carries its name as the Qt object name.
class frmMain final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // --- controls ---
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

    WindowTimer* Timer1 = nullptr; // the alarm cycle, every 10 s
    WindowTimer* Timer2 = nullptr; // folds the watch list away 15 s after it was shown

    // --- menus ---
    QMenu* mnuFile = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuSetup = nullptr;
    QAction* mnuAlarmBringToFront = nullptr;
    QAction* mnuAlarm = nullptr;
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

    // --- the lists behind the list boxes: their only store while the program runs ---
    TextList* stationLines = nullptr; // lstStations: alarm lines, sorted
    TextList* ackedCalls = nullptr;   // lstAcked: bare callsigns, sorted
    TextList* watchCalls = nullptr;   // lstWatch: callsigns in the order added
    TextList* overlayLines = nullptr; // lstOverlayItems: as found

    // --- shared state ---
    bool gblnAudibleAlarm = false;
    bool gblnBringToFront = true;
    bool gblnScanStations = true;
    bool gblnScanOverlays = true;
    bool gblnShowWatchList = false;
    double dblMinDist = 99999.0;

    // --- host objects, set by start-up; the window owns them ---
    std::unique_ptr<KestrelHost> mKestrel; // reaches the map
    std::unique_ptr<KestrelHost> gKestrel; // delivers events, serves the scans
    KestrelMap* mKestrelMap = nullptr;     // owned by mKestrel
    KestrelBeacon mBeacon;
    std::unique_ptr<KestrelStation> mStation;

    // --- files, set by start-up ---
    QString mstrIniFile;
    QString mstrListFile;

    // --- procedures of the window ---
    void enable_disable_stations();
    void enable_disable_overlays();
    void show_hide_watchlist();
    void cmdShowWatch_Click();
    // Remembers the window's position while it is not minimised.
    void Form_Resize();
    qint16 mintLeftValue() const { return mintLeft; }
    qint16 mintTopValue() const { return mintTop; }
    void setRememberedPosition(qint16 left, qint16 top);

    // Outer window position and size in twips, as the settings file keeps them.
    double leftTwips() const;
    double topTwips() const;
    double widthTwips() const;
    double heightTwips() const;
    void moveToTwips(double left, double top);
    double logicalDpi() const;

    // Paths of the program's own files, set by start-up.
    QString wavFolder; // the WAV folder

    // Where the overlay files are, asked on every overlay load; set by start-up.
    std::function<QString()> overlaysFolderLookup;
    // Builds what the alarm cycle works on; start-up calls it once the host objects and
    // the station object exist. Until then a tick does nothing.
    void attachAlarmContext();
    AlarmContext* alarmContext() const { return m_alarm.get(); }
    void setSoundPlayer(std::unique_ptr<SoundPlayer> player);
    // Raised above the other windows, restored when minimised.
    void bringToFront();

    // --- settings and lists ---
    void readini();
    void saveini();
    void LoadLists();
    void SaveLists();

    // --- handlers ---
    void mnuFileExit_Click();
    void Form_Unload();
    void gKestrel_Kestrel32IsClosing();
    void mnuAlarm_Click();
    void mnuAlarmBringToFront_Click();
    void mnuOptionsStations_Click();
    void mnuOptionsOverlays_Click();
    void mnuHelpHelp_Click();
    void mnuHelpAbout_Click();
    void mnuHelpUpdate_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void cmdAck_Click();
    void cmdAckAll_Click();
    void cmdRearm_Click();
    void cmdRearmAll_Click();
    void mnuPopup1Ack_Click();
    void mnuPopup2ReArm_Click();
    void mnuPopu3Delete_Click();
    void lstStations_MouseDown(int button, const QPoint& globalPos);
    void lstAcked_MouseDown(int button, const QPoint& globalPos);
    void lstWatch_MouseDown(int button, const QPoint& globalPos);
    void lstOverlayItems_Click();
    void cmdAddWatch_Click();
    // Filters one typed character; returns the code to type (0: nothing).
    int txtWatch_KeyPress(int keyAscii);

    // Work that lets events run (a tick, a box, a menu) holds the window open: a close
    // that arrives meanwhile is carried out when the work is done.
    class BusyScope {
    public:
        explicit BusyScope(frmMain& form);
        ~BusyScope();
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        frmMain& m_form;
    };
    bool isBusy() const { return m_busyDepth > 0; }

    // Opens a context menu and returns when it is closed; tests replace it.
    std::function<void(QMenu*, const QPoint&)> popupMenu;
    bool isUnloaded() const { return m_unloaded; }

signals:
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hint(MessageIcon icon, const QString& text);
    void openPopup(QMenu* menu, const QPoint& globalPos);
    void createControls();
    void createMenus();
    void setTabOrderChain();

    qint16 mintLeft = 0;
    qint16 mintTop = 0;
    void carryOutPendingClose();
    void reportTickFailure(const QString& message);

    std::unique_ptr<AlarmContext> m_alarm;
    std::unique_ptr<SoundPlayer> m_sound;

    // The list file was not read to its end: keep a copy before it is written over.
    bool m_listFileUnreadRest = false;
    int m_busyDepth = 0;
    bool m_closePending = false;
    bool m_exitPending = false;
    bool m_unloaded = false;
};
