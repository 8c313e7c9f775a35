#include "app/SettingsBinding.h"

#include "numbers/NumericText.h"
#include "settings/Settings.h"
#include "ui/frmMain.h"

namespace {

Setting settingOf(AlarmEngine::Switch which) {
    switch (which) {
    case AlarmEngine::Switch::AudibleAlarm:
        return Setting::AudibleAlarm;
    case AlarmEngine::Switch::BringToFront:
        return Setting::BringToFront;
    case AlarmEngine::Switch::ScanStations:
        return Setting::ScanStations;
    case AlarmEngine::Switch::ScanOverlays:
        return Setting::ScanOverlays;
    case AlarmEngine::Switch::DesktopNotify:
        return Setting::DesktopNotify;
    case AlarmEngine::Switch::SpeakAlarm:
        return Setting::SpeakAlarm;
    }
    return Setting::AudibleAlarm;
}

} // namespace

SettingsBinding::SettingsBinding(QString iniFile, AlarmEngine& engine, frmMain& window,
                                 QObject* parent)
    : QObject(parent), m_iniFile(std::move(iniFile)), m_engine(engine), m_window(window) {}

void SettingsBinding::read() {
    const QPointF centred = m_window.centredTwips();
    const IniValues stored = readSettingsFile(m_iniFile, centred.x(), centred.y());
    m_engine.setRadiusText(stored.text(Setting::MinDistance));
    for (const auto which : {AlarmEngine::Switch::BringToFront, AlarmEngine::Switch::AudibleAlarm,
                             AlarmEngine::Switch::ScanStations, AlarmEngine::Switch::ScanOverlays})
        m_engine.setSwitch(which, stored.on(settingOf(which)));
    const double left = stored.number(Setting::Left);
    const double top = stored.number(Setting::Top);
    m_window.moveToTwips(left, top);
    // A window that starts minimised keeps this place for the next save.
    m_window.setRememberedPosition(toInt16Rounded(left), toInt16Rounded(top));
    if (stored.on(Setting::Minimized))
        m_window.setWindowState(m_window.windowState() | Qt::WindowMinimized);
    for (const auto which : {AlarmEngine::Switch::DesktopNotify, AlarmEngine::Switch::SpeakAlarm})
        m_engine.setSwitch(which, stored.on(settingOf(which)));
    connect(&m_engine, &AlarmEngine::switchChanged, this, &SettingsBinding::writeSwitch);
}

void SettingsBinding::save() {
    const bool minimized = m_window.isMinimized();
    if (!minimized)
        m_window.setRememberedPosition(toInt16Rounded(m_window.leftTwips()),
                                       toInt16Rounded(m_window.topTwips()));
    IniValues values;
    values.setText(Setting::MinDistance, m_engine.radiusText());
    values.setOn(Setting::AudibleAlarm, m_engine.isOn(AlarmEngine::Switch::AudibleAlarm));
    values.setOn(Setting::BringToFront, m_engine.isOn(AlarmEngine::Switch::BringToFront));
    values.setText(Setting::Left, QString::number(m_window.rememberedLeft()));
    values.setText(Setting::Top, QString::number(m_window.rememberedTop()));
    values.setOn(Setting::Minimized, minimized);
    saveSettingsFile(m_iniFile, values);
}

void SettingsBinding::writeSwitch(AlarmEngine::Switch which, bool on) {
    writeSwitchSetting(m_iniFile, settingOf(which), on);
}
