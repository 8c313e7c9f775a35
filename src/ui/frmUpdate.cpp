#include "ui/frmUpdate.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>

#include "BuildInfo.h"
#include "support/Globals.h"
#include "support/MessageBoxSeam.h"
#include "support/WebAddress.h"
#include "ui/LinkLabel.h"
#include "ui/Twips.h"
#include "ui/WindowFonts.h"
#include "update/UpdateLog.h"
#include "update/UpdatePage.h"
#include "update/UpdateRequest.h"

namespace {

QPointer<frmUpdate>& loadedUpdate() {
    static QPointer<frmUpdate> window;
    return window;
}

constexpr double kPointSize = 8.25;
constexpr int kUpdateWidthTwips = 5355;
constexpr int kLogTopTwips = 1680;
constexpr int kLogHeightTwips = 765;

// Yellow while working, green for success, red for failure.
QColor colourOf(UpdateStatusColour colour) {
    switch (colour) {
    case UpdateStatusColour::Working:
        return QColor(255, 255, 0);
    case UpdateStatusColour::Success:
        return QColor(0, 128, 0);
    case UpdateStatusColour::Failure:
        break;
    }
    return QColor(255, 0, 0);
}

void setUpdateMenuEnabled(QWidget* caller, bool enabled) {
    if (!caller)
        return;
    const auto items = caller->findChildren<QObject*>(QStringLiteral("mnuHelpUpdate"));
    for (QObject* item : items) {
        if (auto* action = qobject_cast<QAction*>(item))
            action->setEnabled(enabled);
        else if (auto* widget = qobject_cast<QWidget*>(item))
            widget->setEnabled(enabled);
    }
}

UpdateVersion ownVersion() {
    return UpdateVersion{BuildInfo::major, BuildInfo::minor, BuildInfo::revision};
}

} // namespace

frmUpdate* frmUpdate::openWindow() {
    return loadedUpdate();
}

frmUpdate* frmUpdate::loadWindow(QWidget* mainWindow) {
    if (!loadedUpdate()) {
        auto* window = new frmUpdate(mainWindow);
        loadedUpdate() = window;
        window->formLoad();
    }
    frmUpdate* window = loadedUpdate();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

frmUpdate::frmUpdate(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Dialog | Qt::WindowCloseButtonHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("frmUpdate"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);
    if (mainWindow)
        mainWindow->installEventFilter(this);
    buildControls();
}

void frmUpdate::buildControls() {
    const double dpi = logicalDpiY();
    setFixedWidth(twipsToPixels(kUpdateWidthTwips, dpi));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(120, 0, 5055, 615, dpi));
    Label1->setFont(sansSerifFont(kPointSize));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblWebURL = new LinkLabel(this);
    lblWebURL->setObjectName(QStringLiteral("lblWebURL"));
    lblWebURL->setGeometry(twipsRect(120, 720, 5055, 255, dpi));
    QFont linkFont = sansSerifFont(kPointSize);
    linkFont.setUnderline(true);
    lblWebURL->setFont(linkFont);
    lblWebURL->hide();
    connect(lblWebURL, &LinkLabel::clicked, this, &frmUpdate::lblWebURLClick);

    Command3 = new QPushButton(QStringLiteral("More"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(twipsRect(3240, 960, 975, 375, dpi));
    Command3->setFont(sansSerifFont(kPointSize, true));
    connect(Command3, &QPushButton::clicked, this, &frmUpdate::command3Click);

    Command1 = new QPushButton(QStringLiteral("Close"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(4320, 960, 975, 375, dpi));
    Command1->setFont(sansSerifFont(kPointSize, true));
    connect(Command1, &QPushButton::clicked, this, &frmUpdate::command1Click);

    txtLogging = new QPlainTextEdit(this);
    txtLogging->setObjectName(QStringLiteral("txtLogging"));
    txtLogging->setGeometry(twipsRect(120, kLogTopTwips, 5055, kLogHeightTwips, dpi));
    txtLogging->setFont(sansSerifFont(kPointSize));
    txtLogging->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtLogging->setReadOnly(true);
    txtLogging->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtLogging->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void frmUpdate::setOuterHeightTwips(int twips) {
    m_outerHeightTwips = twips;
    setFixedHeight(twipsToPixels(twips - kNominalFrameTwips, logicalDpiY()));
}

void frmUpdate::formLoad() {
    setWindowTitle(appTitle + QStringLiteral(", checking for update."));
    Command3->setText(QStringLiteral("More"));
    txtLogging->hide();
    // Collapsed: status line, link and buttons only.
    setOuterHeightTwips(kLogTopTwips + 100);
}

void frmUpdate::command3Click() {
    if (Command3->text() == QStringLiteral("More")) {
        txtLogging->show();
        Command3->setText(QStringLiteral("Less"));
        setOuterHeightTwips(kLogTopTwips + kLogHeightTwips + 400);
    } else {
        Command3->setText(QStringLiteral("More"));
        txtLogging->hide();
        setOuterHeightTwips(kLogTopTwips + 100);
    }
}

void frmUpdate::command1Click() {
    close();
}

void frmUpdate::lblWebURLClick() {
    OpenWebAddress(downloadAddress(m_serverAddress, m_updateFile));
}

void frmUpdate::AddLogLine(const QString& text) {
    txtLogging->setPlainText(appendLogLine(txtLogging->toPlainText(), text));
    txtLogging->moveCursor(QTextCursor::End);
    txtLogging->ensureCursorVisible();
}

void frmUpdate::setStatusColour(UpdateStatusColour colour) {
    QPalette statusPalette = Label1->palette();
    statusPalette.setColor(QPalette::WindowText, colourOf(colour));
    Label1->setPalette(statusPalette);
}

QColor frmUpdate::statusColour() const {
    return Label1->palette().color(QPalette::WindowText);
}

void frmUpdate::prepareForCheck() {
    Label1->clear();
    txtLogging->clear();
    txtLogging->hide();
    lblWebURL->hide();
    Command1->setEnabled(false);
}

void frmUpdate::closeEvent(QCloseEvent* event) {
    if (m_busy) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool frmUpdate::eventFilter(QObject* watched, QEvent* event) {
    // The main window closing takes this window with it, once the request has ended.
    if (watched == parentWidget() && event->type() == QEvent::Hide && !event->spontaneous()) {
        if (m_busy)
            m_closeWhenIdle = true;
        else
            close();
    }
    return QWidget::eventFilter(watched, event);
}

void AddLogLine(const QString& text) {
    if (frmUpdate* window = frmUpdate::openWindow())
        window->AddLogLine(text);
}

void CheckForUpdate(QWidget& caller, const UpdateCheck& check) {
    if (frmUpdate* running = frmUpdate::openWindow(); running && running->m_busy) {
        frmUpdate::loadWindow(&caller);
        return;
    }
    const QPointer<QWidget> callerWindow(&caller);
    QPointer<frmUpdate> window = frmUpdate::loadWindow(&caller);
    const QString server = check.serverAddress();
    window->m_serverAddress = server;
    window->m_updateFile.clear();
    window->prepareForCheck();
    setUpdateMenuEnabled(callerWindow, false);
    window->setStatusColour(UpdateStatusColour::Working);

    const QString contacting = contactingText(server);
    window->Label1->setText(contacting);
    window->AddLogLine(contacting);

    window->m_busy = true;
    check.fetch(&caller, [callerWindow, window, server](const UpdateFetchResult& fetched) {
        frmUpdate::showOutcome(callerWindow, window, server, fetched);
    });
}

void frmUpdate::showOutcome(const QPointer<QWidget>& callerWindow,
                            const QPointer<frmUpdate>& window, const QString& server,
                            const UpdateFetchResult& fetched) {
    if (window)
        window->m_busy = false;

    const auto finish = [&] {
        setUpdateMenuEnabled(callerWindow, true);
        if (window)
            window->Command1->setEnabled(true);
    };
    if (!fetched.ok()) {
        finish();
        showMessageBox(MessageIcon::None, kDefaultMessageTitle,
                       requestErrorText(fetched.errorDescription));
        if (window) {
            window->Label1->setText(failedToConnectText(server));
            window->setStatusColour(UpdateStatusColour::Failure);
        }
    } else if (window) {
        const UpdateOutcome outcome =
            evaluateUpdatePage(pageTextFromBytes(fetched.body), appName, ownVersion(), server,
                               QLocale().decimalPoint());
        for (const QString& line : outcome.logLines)
            window->AddLogLine(line);
        window->Label1->setText(outcome.status);
        window->setStatusColour(outcome.colour);
        if (outcome.result == UpdateOutcome::Result::UpdateAvailable) {
            window->m_updateFile = outcome.updateFile;
            window->lblWebURL->setText(downloadLinkText(outcome.updateFile));
            window->lblWebURL->setToolTip(downloadLinkToolTip(outcome.updateFile, server));
            window->lblWebURL->show();
        }
        finish();
    } else {
        finish();
    }
    if (window && window->m_closeWhenIdle)
        window->close();
}
