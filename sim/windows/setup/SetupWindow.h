#pragma once

#include <functional>
#include <optional>

#include <QDialog>

#include "LinkProbe.h"
#include "TrackerConf.h"
#include "feed/GpsdClient.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The tracker's setup: the first start's window and, later, Settings > Preferences. It shows
// a settings file's values, checks every field as the tracker would (the problem beside the
// field), tests the feeds' addresses and follows gpsd live. OK hands the values to `apply`,
// which saves and applies them and answers an error text (empty: done, the window closes).
class SetupWindow final : public QDialog {
    Q_OBJECT
public:
    enum class Mode { FirstStart, Preferences };
    using Apply = std::function<QString(const TrackerConf&)>;

    SetupWindow(Mode mode, const TrackerConf& conf, const QStringList& givenOptions, Apply apply,
                QWidget* parent = nullptr);
    ~SetupWindow() override;

    // The values as the window holds them; none (and each problem shown beside its field,
    // the first one focused) when one cannot be used.
    std::optional<TrackerConf> checkedConf();
    LinkProbe& aprsIsProbe() { return m_aprsIsProbe; }
    // A part of the window kept by another owner (the map's settings), above the OK button.
    void addSection(QWidget* section);
    LinkProbe& kissProbe() { return m_kissProbe; }

private:
    QLineEdit* addField(class QFormLayout* form, const QString& name, const QString& label,
                        const QString& text, QLabel** problem);
    void testAprsIs();
    void testKiss();
    void showProbeResult(QLabel* label, bool working, const QString& words);
    void followGpsd();
    void onGpsdFix(double latitude, double longitude, int mode);
    void updateEnabled();
    void tryAccept();

    TrackerConf m_start;
    Apply m_apply;
    QLineEdit* m_callsign;
    QLabel* m_callsignProblem;
    QRadioButton* m_fromGpsd;
    QRadioButton* m_fixed;
    QLineEdit* m_gpsd;
    QLabel* m_gpsdProblem;
    QLabel* m_gpsdFix;
    QLineEdit* m_latitude;
    QLabel* m_latitudeProblem;
    QLineEdit* m_longitude;
    QLabel* m_longitudeProblem;
    QGroupBox* m_aprsIs;
    QLineEdit* m_aprsIsServer;
    QLabel* m_aprsIsServerProblem;
    QLineEdit* m_login;
    QLabel* m_loginProblem;
    QLineEdit* m_passcode;
    QLabel* m_passcodeProblem;
    QSpinBox* m_range;
    QPushButton* m_aprsIsTest;
    QLabel* m_aprsIsTestResult;
    QGroupBox* m_kiss;
    QLineEdit* m_kissAddress;
    QLabel* m_kissAddressProblem;
    QPushButton* m_kissTest;
    QLabel* m_kissTestResult;
    QComboBox* m_unit;
    QLineEdit* m_expire;
    QLabel* m_expireProblem;
    QLabel* m_saveProblem;
    LinkProbe m_aprsIsProbe{LinkProbe::Kind::AprsIs};
    LinkProbe m_kissProbe{LinkProbe::Kind::Kiss};
    feed::GpsdClient m_gpsdWatch;
    QTimer m_gpsdRestart;
};
