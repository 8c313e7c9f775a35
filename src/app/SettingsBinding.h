#pragma once

#include <QObject>
#include <QString>

#include "engine/AlarmEngine.h"

class frmMain;

// Ringwarden.INI bound to the engine and the window: read once at start-up, each switch the
// operator toggles written at once, and the rest written on the way out.
class SettingsBinding final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SettingsBinding)
public:
    // engine and window must outlive the binding.
    SettingsBinding(QString iniFile, AlarmEngine& engine, frmMain& window,
                    QObject* parent = nullptr);

    // Applies the file (a missing key its default); from here on a toggled switch is the
    // operator's and is written at once.
    void read();
    // The shutdown's one rewrite: radius, alarm switches, the window's place.
    void save();

private:
    void writeSwitch(AlarmEngine::Switch which, bool on);

    QString m_iniFile;
    AlarmEngine& m_engine;
    frmMain& m_window;
};
