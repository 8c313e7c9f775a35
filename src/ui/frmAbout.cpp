#include "ui/frmAbout.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include "BuildInfo.h"
#include "support/Globals.h"
#include "support/WebAddress.h"
#include "ui/LinkLabel.h"
#include "ui/Twips.h"
#include "ui/WindowFonts.h"

namespace {

QPointer<frmAbout>& loadedAbout() {
    static QPointer<frmAbout> window;
    return window;
}

constexpr double kLabelPointSize = 8.25;

} // namespace

frmAbout* frmAbout::showAbout(QWidget* mainWindow) {
    if (loadedAbout())
        return loadedAbout();
    auto* window = new frmAbout(mainWindow);
    loadedAbout() = window;
    window->formLoad();
    return window;
}

frmAbout* frmAbout::openWindow() {
    return loadedAbout();
}

QString frmAbout::webSiteAddress() {
    return QStringLiteral("https://ringwarden.example.org");
}

QString frmAbout::legalNoticeText(const QString& buildNotice) {
    return buildNotice.isEmpty() ? QStringLiteral("Not set in Project!") : buildNotice;
}

frmAbout::frmAbout(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                              Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    if (mainWindow)
        mainWindow->installEventFilter(this);
    buildControls();
}

void frmAbout::buildControls() {
    const double dpi = logicalDpiY();
    setFixedSize(twipsToPixels(6360, dpi), twipsToPixels(4020, dpi));

    const auto makeLabel = [&](const char* name, int left, int top, int width, int height,
                               bool bold) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(name));
        label->setGeometry(twipsRect(left, top, width, height, dpi));
        label->setFont(sansSerifFont(kLabelPointSize, bold));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    };
    Label1 = makeLabel("Label1", 840, 0, 5295, 375, true);
    Label2 = makeLabel("Label2", 840, 480, 5295, 375, true);
    Label3 = makeLabel("Label3", 840, 840, 5295, 855, false);
    Label3->setWordWrap(true);
    Label8 = makeLabel("Label8", 840, 1800, 5295, 255, true);
    Label8->setText(QStringLiteral("More information on this website"));
    Label4 = makeLabel("Label4", 120, 2400, 735, 255, true);
    Label4->setText(QStringLiteral("Legal"));
    Label5 = makeLabel("Label5", 840, 2400, 5295, 495, false);
    Label5->setWordWrap(true);
    Label6 = makeLabel("Label6", 840, 3000, 4095, 855, false);
    Label6->setWordWrap(true);

    lblWebURL = new LinkLabel(this);
    lblWebURL->setObjectName(QStringLiteral("lblWebURL"));
    lblWebURL->setGeometry(twipsRect(840, 2040, 5055, 255, dpi));
    QFont linkFont = sansSerifFont(kLabelPointSize);
    linkFont.setUnderline(true);
    lblWebURL->setFont(linkFont);
    connect(lblWebURL, &LinkLabel::clicked, this, &frmAbout::lblWebURLClick);

    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(5280, 3480, 975, 375, dpi));
    Command1->setFont(sansSerifFont(kLabelPointSize, true));
    Command1->setDefault(true);
    connect(Command1, &QPushButton::clicked, this, &frmAbout::command1Click);
}

void frmAbout::formLoad() {
    m_credit = QStringLiteral("Made by the Ringwarden project for radio operators");
    m_description = QStringLiteral(
        "This Kestrel32 add-on sounds an alarm when stations are withing a certain range. ");
    m_webAddress = webSiteAddress();
    m_legalNotice = legalNoticeText(QString::fromUtf8(BuildInfo::legalNotice));
    m_disclaimer = QStringLiteral(
        "This program comes without any warranty. Do not rely on it alone for the safety "
        "of a station or of anyone on the air.");

    setWindowTitle(QStringLiteral("About ") + appTitle);
    Label1->setText(appTitle);
    Label2->setText(m_credit);
    Label3->setText(m_description);
    Label5->setText(m_legalNotice);
    Label6->setText(m_disclaimer);
    lblWebURL->setText(m_webAddress);
    lblWebURL->setToolTip(m_webAddress);
    show();
    centreOnScreen();
    raise();
    activateWindow();
}

void frmAbout::centreOnScreen() {
    // Centre the whole window, frame included, on the screen the main window is on.
    const QWidget* mainWindow = parentWidget();
    QScreen* screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize outer = frameGeometry().size();
    move(area.left() + (area.width() - outer.width()) / 2,
         area.top() + (area.height() - outer.height()) / 2);
}

void frmAbout::command1Click() {
    close();
}

void frmAbout::lblWebURLClick() {
    OpenWebAddress(m_webAddress);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    // The main window closing takes this window with it; minimising it does not.
    if (watched == parentWidget() && event->type() == QEvent::Hide && !event->spontaneous())
        close();
    return QWidget::eventFilter(watched, event);
}
