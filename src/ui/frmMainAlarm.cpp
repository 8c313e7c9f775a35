// What the window shows of the engine: captions, switches, the alarm's call to the front and
// the tick's failures.
#include "ui/frmMain.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>

#include "support/Globals.h"
#include "support/MessageBoxSeam.h"
#include "ui/ListBox.h"

void frmMain::connectEngine() {
    txtRadius->setText(m_engine.radiusText());
    connect(txtRadius, &QLineEdit::textChanged, &m_engine, &AlarmEngine::setRadiusText);
    connect(&m_engine, &AlarmEngine::radiusTextChanged, this, [this](const QString& text) {
        if (txtRadius->text() != text)
            txtRadius->setText(text);
    });
    connect(&m_engine, &AlarmEngine::minDistCaptionChanged, lblMinDist, &QLabel::setText);
    connect(&m_engine, &AlarmEngine::switchChanged, this, &frmMain::showSwitch);
    connect(&m_engine, &AlarmEngine::bringToFrontRequested, this, &frmMain::bringToFront);
    connect(&m_engine, &AlarmEngine::tickFailed, this, &frmMain::showTickFailure);
    for (const auto which : {AlarmEngine::Switch::AudibleAlarm, AlarmEngine::Switch::BringToFront,
                             AlarmEngine::Switch::ScanStations, AlarmEngine::Switch::ScanOverlays,
                             AlarmEngine::Switch::DesktopNotify, AlarmEngine::Switch::SpeakAlarm})
        showSwitch(which, m_engine.isOn(which));
}

void frmMain::toggle(AlarmEngine::Switch which) {
    m_engine.toggleSwitch(which);
}

void frmMain::showSwitch(AlarmEngine::Switch which, bool on) {
    switch (which) {
    case AlarmEngine::Switch::AudibleAlarm:
        mnuAlarm->setChecked(on);
        break;
    case AlarmEngine::Switch::BringToFront:
        mnuAlarmBringToFront->setChecked(on);
        break;
    case AlarmEngine::Switch::ScanStations:
        mnuOptionsStations->setChecked(on);
        enableDisableStations(on);
        break;
    case AlarmEngine::Switch::ScanOverlays:
        mnuOptionsOverlays->setChecked(on);
        enableDisableOverlays(on);
        break;
    case AlarmEngine::Switch::DesktopNotify:
        showExtraSwitch(mnuAlarmNotify, on, m_engine.isAvailable(which));
        break;
    case AlarmEngine::Switch::SpeakAlarm:
        showExtraSwitch(mnuAlarmSpeak, on, m_engine.isAvailable(which));
        break;
    }
}

void frmMain::showExtraSwitch(QAction* action, bool on, bool available) {
    const QString unavailable = QStringLiteral(" (unavailable)");
    QString text = action->text();
    if (text.endsWith(unavailable))
        text.chop(unavailable.size());
    action->setText(available ? text : text + unavailable);
    action->setChecked(on);
    // A switch that is on can always be switched off, whatever became of what it needs.
    action->setEnabled(available || on);
}

void frmMain::enableDisableStations(bool on) {
    for (QWidget* control : {static_cast<QWidget*>(lstStations), static_cast<QWidget*>(cmdAck),
                             static_cast<QWidget*>(cmdRearm), static_cast<QWidget*>(cmdAckAll),
                             static_cast<QWidget*>(cmdRearmAll)})
        control->setEnabled(on);
}

void frmMain::enableDisableOverlays(bool on) {
    lstOverlayItems->setEnabled(on);
}

void frmMain::bringToFront() {
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    show();
    raise();
    activateWindow();
}

void frmMain::showTickFailure(const QString& message) {
    // A notice: ticks go on while it is open and find the host again when it comes back,
    // and a close of the window is not held by it.
    QMetaObject::invokeMethod(
        this,
        [this, message] {
            if (!m_unloaded)
                showNoticeBox(MessageIcon::Warning, kDefaultMessageTitle, message);
        },
        Qt::QueuedConnection);
}
