// The main window's controls, menus and tab order.
#include "ui/frmMain.h"

#include <QAction>
#include <QFont>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include "lists/TextList.h"
#include "support/WindowTimer.h"
#include "ui/ListBox.h"
#include "ui/Twips.h"
#include "ui/WindowFonts.h"

namespace {

constexpr int kMainWidthTwips = 9660;
constexpr int kMainHeightTwips = 5085;

template <typename Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height,
              double dpi) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(twipsRect(left, top, width, height, dpi));
    return widget;
}

QLabel* boldLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setFont(sansSerifFont(9.75, true));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void paintBackground(ListBox* list, const QColor& colour) {
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, colour);
    list->setPalette(palette);
    list->setAutoFillBackground(true);
}

QAction* menuItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

frmMain::frmMain(AlarmEngine& engine, QWidget* parent) : QMainWindow(parent), m_engine(engine) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    createControls();
    createMenus();
    setTabOrderChain();

    Timer2 = new WindowTimer(15000, this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    connect(Timer2, &WindowTimer::timeout, this, &frmMain::timer2Timer);
    connectEngine();

    // Drawn for this one size: the window cannot be resized, only minimised.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

double frmMain::logicalDpi() const {
    const QScreen* shown = screen();
    return shown ? shown->logicalDotsPerInchY() : 96.0;
}

void frmMain::createControls() {
    const double dpi = logicalDpi();
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsToPixels(kMainWidthTwips, dpi), twipsToPixels(kMainHeightTwips, dpi));
    setCentralWidget(client);

    const QFont fixedsys = monospaceFont(9);

    lblAlarmRange1 = place(boldLabel(client, QStringLiteral("Alarm range")), "lblAlarmRange1", 120,
                           120, 1575, 375, dpi);
    txtRadius =
        place(new QLineEdit(QStringLiteral("25"), client), "txtRadius", 1800, 120, 915, 330, dpi);
    txtRadius->setFont(fixedsys);
    txtRadius->setToolTip(QStringLiteral("Movements less than this are ignored"));
    lblAlarmRange2 =
        place(boldLabel(client, QStringLiteral("Miles or kilometers (see Kestrel setup)")),
              "lblAlarmRange2", 3000, 120, 4095, 375, dpi);
    lblWatchlist = place(boldLabel(client, QStringLiteral("Watch List")), "lblWatchlist", 7320, 0,
                         1575, 375, dpi);
    txtWatch = place(new QLineEdit(client), "txtWatch", 7320, 360, 1695, 375, dpi);
    txtWatch->installEventFilter(this);
    cmdAddWatch = place(new QPushButton(QStringLiteral("Add"), client), "cmdAddWatch", 9000, 360,
                        615, 255, dpi);
    cmdAddWatch->setFont(fixedsys);
    cmdShowWatch = place(new QPushButton(QStringLiteral("Show"), client), "cmdShowWatch", 9000, 720,
                         615, 255, dpi);
    cmdShowWatch->setFont(fixedsys);
    lblMinDist = place(boldLabel(client, QStringLiteral("Minimum distance observed = ")),
                       "lblMinDist", 120, 600, 6855, 255, dpi);
    lblStationsAlarm = place(boldLabel(client, QStringLiteral("Stations within alarm range")),
                             "lblStationsAlarm", 360, 1080, 2295, 615, dpi);
    lblStationsAlarm->setWordWrap(true);
    lblStationsAcked = place(boldLabel(client, QStringLiteral("Acknowledged Stations")),
                             "lblStationsAcked", 3720, 1080, 1935, 495, dpi);
    lblStationsAcked->setWordWrap(true);
    lblOverlays = place(boldLabel(client, QString()), "lblOverlays", 6720, 1080, 1815, 495, dpi);
    lblOverlays->setWordWrap(true);

    lstStations = place(new ListBox(client), "lstStations", 120, 1560, 2655, 2985, dpi);
    lstStations->setModel(m_engine.model(AlarmEngine::List::AlarmLines));
    lstStations->setFont(fixedsys);
    paintBackground(lstStations, QColor(255, 0, 0));
    lstStations->setToolTip(
        QStringLiteral("Select a station and acknowledge with rightmouse button"));

    cmdAck =
        place(new QPushButton(QStringLiteral(">"), client), "cmdAck", 2880, 1800, 495, 375, dpi);
    cmdAck->setToolTip(QStringLiteral("Acknowledge the selected  station"));
    cmdAckAll = place(new QPushButton(QStringLiteral(">>"), client), "cmdAckAll", 2880, 2400, 495,
                      375, dpi);
    cmdAckAll->setToolTip(QStringLiteral("Acknowledge all  stations"));
    cmdRearm =
        place(new QPushButton(QStringLiteral("<"), client), "cmdRearm", 2880, 3000, 495, 375, dpi);
    cmdRearm->setToolTip(QStringLiteral("Rearm the selected  station"));
    cmdRearmAll = place(new QPushButton(QStringLiteral("<<"), client), "cmdRearmAll", 2880, 3600,
                        495, 375, dpi);
    cmdRearmAll->setToolTip(QStringLiteral("Re-arm all  stations"));

    lstAcked = place(new ListBox(client), "lstAcked", 3480, 1560, 2415, 2985, dpi);
    lstAcked->setModel(m_engine.model(AlarmEngine::List::AckedCalls));
    lstAcked->setFont(fixedsys);
    paintBackground(lstAcked, QColor(0, 192, 0));
    lstAcked->setToolTip(QStringLiteral("Select a station and re-arm it with rightmouse button"));

    lstOverlayItems = place(new ListBox(client), "lstOverlayItems", 6480, 1560, 2895, 2985, dpi);
    lstOverlayItems->setModel(m_engine.model(AlarmEngine::List::OverlayLines));
    lstOverlayItems->setFont(fixedsys);
    lstWatch = place(new ListBox(client), "lstWatch", 6480, 1560, 2895, 2985, dpi);
    lstWatch->setModel(m_engine.model(AlarmEngine::List::WatchCalls));
    lstWatch->setFont(fixedsys);

    lblOVLItem = place(new QLabel(client), "lblOVLItem", 120, 4680, 9495, 255, dpi);

    connect(cmdShowWatch, &QPushButton::clicked, this, &frmMain::cmdShowWatchClick);
    connect(cmdAck, &QPushButton::clicked, this, &frmMain::cmdAckClick);
    connect(cmdAckAll, &QPushButton::clicked, this, &frmMain::cmdAckAllClick);
    connect(cmdRearm, &QPushButton::clicked, this, &frmMain::cmdRearmClick);
    connect(cmdRearmAll, &QPushButton::clicked, this, &frmMain::cmdRearmAllClick);
    connect(cmdAddWatch, &QPushButton::clicked, this, &frmMain::cmdAddWatchClick);
    connect(lstStations, &ListBox::mouseDown, this, &frmMain::lstStationsMouseDown);
    connect(lstAcked, &ListBox::mouseDown, this, &frmMain::lstAckedMouseDown);
    connect(lstWatch, &ListBox::mouseDown, this, &frmMain::lstWatchMouseDown);
    connect(lstOverlayItems, &QListView::clicked, this, &frmMain::lstOverlayItemsClick);
}

void frmMain::createMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));

    mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileExit = menuItem(mnuFile, "mnuFileExit", QStringLiteral("E&xit"));

    mnuSetup = bar->addMenu(QStringLiteral("&Alarm"));
    mnuSetup->setObjectName(QStringLiteral("mnuSetup"));
    mnuAlarmBringToFront =
        menuItem(mnuSetup, "mnuAlarmBringToFront", QStringLiteral("Bring to front on alarm"));
    mnuAlarmBringToFront->setCheckable(true);
    mnuAlarmBringToFront->setChecked(true);
    mnuAlarm = menuItem(mnuSetup, "mnuAlarm", QStringLiteral("&Audible alarm"));
    mnuAlarm->setCheckable(true);
    mnuAlarm->setChecked(false);
    mnuAlarmNotify = menuItem(mnuSetup, "mnuAlarmNotify", QStringLiteral("Desktop notification"));
    mnuAlarmNotify->setCheckable(true);
    mnuAlarmSpeak = menuItem(mnuSetup, "mnuAlarmSpeak", QStringLiteral("Speak new stations"));
    mnuAlarmSpeak->setCheckable(true);
    mnuSetup->addSeparator();
    mnuAlarmHistory = menuItem(mnuSetup, "mnuAlarmHistory", QStringLiteral("Alarm history..."));

    mnuOptions = bar->addMenu(QStringLiteral("Options"));
    mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
    mnuOptionsStations = menuItem(mnuOptions, "mnuOptionsStations", QStringLiteral("Stations"));
    mnuOptionsStations->setShortcut(QKeySequence(Qt::Key_F2));
    mnuOptionsStations->setCheckable(true);
    mnuOptionsStations->setChecked(true);
    mnuOptionsOverlays =
        menuItem(mnuOptions, "mnuOptionsOverlays", QStringLiteral("Overlay Items"));
    mnuOptionsOverlays->setShortcut(QKeySequence(Qt::Key_F3));
    mnuOptionsOverlays->setCheckable(true);
    mnuOptionsOverlays->setChecked(true);

    mnuHelp = bar->addMenu(QStringLiteral("&Help"));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpHelp = menuItem(mnuHelp, "mnuHelpHelp", QStringLiteral("&Help"));
    mnuHelpHelp->setShortcut(QKeySequence(Qt::Key_F1));
    QAction* separator = mnuHelp->addSeparator();
    separator->setObjectName(QStringLiteral("mnusep1"));
    mnuHelpAbout = menuItem(mnuHelp, "mnuHelpAbout", QStringLiteral("&About"));
    mnuHelpUpdate = menuItem(mnuHelp, "mnuHelpUpdate", QStringLiteral("&Check for update"));

    // Context menus: never in the menu bar, shown only at the pointer.
    mnuPopup1 = new QMenu(QStringLiteral("Popup1"), this);
    mnuPopup1->setObjectName(QStringLiteral("mnuPopup1"));
    mnuPopup1Ack = menuItem(mnuPopup1, "mnuPopup1Ack", QStringLiteral("Acknowledge"));
    mnuPopup2 = new QMenu(QStringLiteral("Popup2"), this);
    mnuPopup2->setObjectName(QStringLiteral("mnuPopup2"));
    mnuPopup2ReArm = menuItem(mnuPopup2, "mnuPopup2ReArm", QStringLiteral("Re-arm"));
    mnuPopup3 = new QMenu(QStringLiteral("Popup3"), this);
    mnuPopup3->setObjectName(QStringLiteral("mnuPopup3"));
    mnuPopu3Delete = menuItem(mnuPopup3, "mnuPopu3Delete", QStringLiteral("Delete from watchlist"));

    connect(mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExitClick);
    connect(mnuAlarmBringToFront, &QAction::triggered, this,
            [this] { toggle(AlarmEngine::Switch::BringToFront); });
    connect(mnuAlarm, &QAction::triggered, this,
            [this] { toggle(AlarmEngine::Switch::AudibleAlarm); });
    connect(mnuOptionsStations, &QAction::triggered, this,
            [this] { toggle(AlarmEngine::Switch::ScanStations); });
    connect(mnuOptionsOverlays, &QAction::triggered, this,
            [this] { toggle(AlarmEngine::Switch::ScanOverlays); });
    connect(mnuAlarmNotify, &QAction::triggered, this,
            [this] { toggle(AlarmEngine::Switch::DesktopNotify); });
    connect(mnuAlarmSpeak, &QAction::triggered, this,
            [this] { toggle(AlarmEngine::Switch::SpeakAlarm); });
    connect(mnuAlarmHistory, &QAction::triggered, this, &frmMain::historyRequested);
    connect(mnuHelpHelp, &QAction::triggered, this, &frmMain::mnuHelpHelpClick);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAboutClick);
    connect(mnuHelpUpdate, &QAction::triggered, this, &frmMain::mnuHelpUpdateClick);
    connect(mnuPopup1Ack, &QAction::triggered, this, &frmMain::mnuPopup1AckClick);
    connect(mnuPopup2ReArm, &QAction::triggered, this, &frmMain::mnuPopup2ReArmClick);
    connect(mnuPopu3Delete, &QAction::triggered, this, &frmMain::mnuPopu3DeleteClick);
}

void frmMain::setTabOrderChain() {
    QWidget* const order[] = {lstStations, txtRadius,       lstAcked, cmdAckAll,
                              cmdRearmAll, lstOverlayItems, cmdRearm, cmdAck,
                              txtWatch,    cmdShowWatch,    lstWatch, cmdAddWatch};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}
