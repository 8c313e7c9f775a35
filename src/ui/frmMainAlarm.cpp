// What the window shows of the engine: captions, switches, the alarm's call to the front and
// the tick's failures.
#include "ui/frmMain.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>

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
    // A close that came in while the tick let events run is carried out once it has ended.
    connect(&m_engine, &AlarmEngine::tickEnded, this, [this] {
        if (!isBusy() && (m_closePending || m_exitPending))
            QMetaObject::invokeMethod(
                this, [this] { carryOutPendingClose(); }, Qt::QueuedConnection);
    });
    for (const auto which : {AlarmEngine::Switch::AudibleAlarm, AlarmEngine::Switch::BringToFront,
                             AlarmEngine::Switch::ScanStations, AlarmEngine::Switch::ScanOverlays})
        showSwitch(which, m_engine.isOn(which));
}

void frmMain::toggle(AlarmEngine::Switch which) {
    m_engine.setSwitch(which, !m_engine.isOn(which));
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
        enable_disable_stations(on);
        break;
    case AlarmEngine::Switch::ScanOverlays:
        mnuOptionsOverlays->setChecked(on);
        enable_disable_overlays(on);
        break;
    }
}

void frmMain::showExtraSwitch(const QString& objectName, bool on, bool available) {
    auto* action = findChild<QAction*>(objectName);
    if (!action)
        return;
    const QString unavailable = QStringLiteral(" (unavailable)");
    QString text = action->text();
    if (text.endsWith(unavailable))
        text.chop(unavailable.size());
    action->setText(available ? text : text + unavailable);
    action->setChecked(on);
    // A switch that is on can always be switched off, whatever became of what it needs.
    action->setEnabled(available || on);
}

void frmMain::enable_disable_stations(bool on) {
    for (QWidget* control : {static_cast<QWidget*>(lstStations), static_cast<QWidget*>(cmdAck),
                             static_cast<QWidget*>(cmdRearm), static_cast<QWidget*>(cmdAckAll),
                             static_cast<QWidget*>(cmdRearmAll)})
        control->setEnabled(on);
}

void frmMain::enable_disable_overlays(bool on) {
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
    // Shown after the tick has ended, so that ticks go on while the box is open and find
    // the host again when it comes back.
    QMetaObject::invokeMethod(
        this,
        [this, message] {
            if (!m_unloaded && !m_hostClosing)
                hint(MessageIcon::Warning, message);
        },
        Qt::QueuedConnection);
}
