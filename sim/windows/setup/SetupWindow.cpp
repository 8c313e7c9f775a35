#include "SetupWindow.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "SetupRules.h"
#include "feed/GpsdReport.h"
#include "feed/HostPort.h"

namespace {

const QString DefaultGpsd = QStringLiteral("127.0.0.1:2947");
const QString DefaultKiss = QStringLiteral("127.0.0.1:8001");
const QString DefaultAprsIs = QStringLiteral("rotate.aprs2.net:14580");

QString degreesText(const std::optional<double>& value) {
    return value ? QString::number(*value, 'g', 10) : QString();
}

QLabel* problemLabel(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setStyleSheet(QStringLiteral("color: #b00020"));
    label->setWordWrap(true);
    label->hide();
    return label;
}

// Shows `problem` beside its field; true when there is none.
bool report(QLabel* label, const QString& problem) {
    label->setText(problem);
    label->setVisible(!problem.isEmpty());
    return problem.isEmpty();
}

} // namespace

SetupWindow::SetupWindow(Mode mode, const TrackerConf& conf, const QStringList& givenOptions,
                         Apply apply, QWidget* parent)
    : QDialog(parent), m_start(conf), m_apply(std::move(apply)) {
    setObjectName(QStringLiteral("setupWindow"));
    setWindowTitle(mode == Mode::FirstStart ? QStringLiteral("Kestrel32 tracker Setup")
                                            : QStringLiteral("Kestrel32 tracker Preferences"));
    auto* layout = new QVBoxLayout(this);
    if (mode == Mode::FirstStart) {
        auto* welcome = new QLabel(
            QStringLiteral("Welcome to the Kestrel32 tracker. Give your callsign and where you "
                           "are, and choose where stations are heard from. You can change all "
                           "of it later in Settings \u203a Preferences."),
            this);
        welcome->setWordWrap(true);
        layout->addWidget(welcome);
    }

    auto* station = new QGroupBox(QStringLiteral("Own station"), this);
    auto* stationForm = new QFormLayout(station);
    m_callsign = addField(stationForm, QStringLiteral("callsign"), QStringLiteral("&Callsign:"),
                          conf.callsign, &m_callsignProblem);
    m_callsign->setPlaceholderText(QStringLiteral("G0ABC or G0ABC-9"));
    m_fromGpsd = new QRadioButton(QStringLiteral("From &gpsd"), station);
    m_fromGpsd->setObjectName(QStringLiteral("positionGpsd"));
    m_fixed = new QRadioButton(QStringLiteral("&Fixed"), station);
    m_fixed->setObjectName(QStringLiteral("positionFixed"));
    (conf.gpsd.isEmpty() ? m_fixed : m_fromGpsd)->setChecked(true);
    auto* source = new QHBoxLayout;
    source->addWidget(m_fixed);
    source->addWidget(m_fromGpsd);
    source->addStretch();
    stationForm->addRow(QStringLiteral("Position:"), source);
    m_gpsd = addField(stationForm, QStringLiteral("gpsd"), QStringLiteral("gpsd &address:"),
                      conf.gpsd.isEmpty() ? DefaultGpsd : conf.gpsd, &m_gpsdProblem);
    m_gpsdFix = new QLabel(station);
    m_gpsdFix->setObjectName(QStringLiteral("gpsdFix"));
    stationForm->addRow(QString(), m_gpsdFix);
    m_latitude = addField(stationForm, QStringLiteral("latitude"), QStringLiteral("&Latitude:"),
                          degreesText(conf.latitude), &m_latitudeProblem);
    m_latitude->setPlaceholderText(QStringLiteral("52.0583 or 52 03.50 N"));
    m_longitude = addField(stationForm, QStringLiteral("longitude"), QStringLiteral("L&ongitude:"),
                           degreesText(conf.longitude), &m_longitudeProblem);
    m_longitude->setPlaceholderText(QStringLiteral("-1.0833 or 1 05.00 W"));
    layout->addWidget(station);

    m_aprsIs = new QGroupBox(QStringLiteral("&APRS-IS"), this);
    m_aprsIs->setObjectName(QStringLiteral("aprsIs"));
    m_aprsIs->setCheckable(true);
    m_aprsIs->setChecked(!conf.aprsIs.isEmpty());
    auto* aprsForm = new QFormLayout(m_aprsIs);
    m_aprsIsServer =
        addField(aprsForm, QStringLiteral("aprsIsServer"), QStringLiteral("&Server:"),
                 conf.aprsIs.isEmpty() ? DefaultAprsIs : conf.aprsIs, &m_aprsIsServerProblem);
    m_login = addField(aprsForm, QStringLiteral("aprsIsLogin"), QStringLiteral("Log&in:"),
                       conf.login, &m_loginProblem);
    m_login->setPlaceholderText(QStringLiteral("your callsign"));
    m_passcode = addField(aprsForm, QStringLiteral("aprsIsPasscode"), QStringLiteral("&Passcode:"),
                          conf.passcode, &m_passcodeProblem);
    m_passcode->setPlaceholderText(QStringLiteral("none: receive only"));
    m_range = new QSpinBox(m_aprsIs);
    m_range->setObjectName(QStringLiteral("aprsIsRange"));
    m_range->setRange(1, 20000);
    m_range->setSuffix(QStringLiteral(" km"));
    m_range->setValue(conf.rangeKm);
    aprsForm->addRow(QStringLiteral("&Range round you:"), m_range);
    m_aprsIsTest = new QPushButton(QStringLiteral("&Test"), m_aprsIs);
    m_aprsIsTest->setObjectName(QStringLiteral("aprsIsTest"));
    m_aprsIsTestResult = new QLabel(m_aprsIs);
    m_aprsIsTestResult->setObjectName(QStringLiteral("aprsIsTestResult"));
    m_aprsIsTestResult->setWordWrap(true);
    aprsForm->addRow(m_aprsIsTest, m_aprsIsTestResult);
    layout->addWidget(m_aprsIs);

    m_kiss = new QGroupBox(QStringLiteral("&KISS TNC over TCP (Dire Wolf)"), this);
    m_kiss->setObjectName(QStringLiteral("kiss"));
    m_kiss->setCheckable(true);
    m_kiss->setChecked(!conf.kiss.isEmpty());
    auto* kissForm = new QFormLayout(m_kiss);
    m_kissAddress = addField(kissForm, QStringLiteral("kissAddress"), QStringLiteral("A&ddress:"),
                             conf.kiss.isEmpty() ? DefaultKiss : conf.kiss, &m_kissAddressProblem);
    m_kissTest = new QPushButton(QStringLiteral("T&est"), m_kiss);
    m_kissTest->setObjectName(QStringLiteral("kissTest"));
    m_kissTestResult = new QLabel(m_kiss);
    m_kissTestResult->setObjectName(QStringLiteral("kissTestResult"));
    m_kissTestResult->setWordWrap(true);
    kissForm->addRow(m_kissTest, m_kissTestResult);
    layout->addWidget(m_kiss);

    auto* list = new QGroupBox(QStringLiteral("Station list"), this);
    auto* listForm = new QFormLayout(list);
    m_unit = new QComboBox(list);
    m_unit->setObjectName(QStringLiteral("unit"));
    m_unit->addItem(QStringLiteral("kilometres"), QStringLiteral("km"));
    m_unit->addItem(QStringLiteral("statute miles"), QStringLiteral("mi"));
    m_unit->addItem(QStringLiteral("nautical miles"), QStringLiteral("nm"));
    m_unit->setCurrentIndex(std::max(0, m_unit->findData(conf.unit)));
    listForm->addRow(QStringLiteral("Distance &unit:"), m_unit);
    m_expire = addField(listForm, QStringLiteral("expire"),
                        QStringLiteral("Unheard stations leave after (&minutes):"),
                        QString::number(conf.expireMinutes, 'g', 10), &m_expireProblem);
    layout->addWidget(list);

    QStringList given;
    for (const QString& option : givenOptions)
        if (QStringList{"own", "gpsd", "kiss", "aprs-is", "login", "range", "unit", "expire"}
                .contains(option))
            given << QStringLiteral("--") + option;
    if (!given.isEmpty()) {
        auto* note = new QLabel(
            QStringLiteral("For this run the command line gives %1; that wins over what is "
                           "saved here.")
                .arg(given.join(QStringLiteral(", "))),
            this);
        note->setObjectName(QStringLiteral("commandLineNote"));
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    m_saveProblem = problemLabel(this, QStringLiteral("saveProblem"));
    layout->addWidget(m_saveProblem);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &SetupWindow::tryAccept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_aprsIsTest, &QPushButton::clicked, this, &SetupWindow::testAprsIs);
    connect(m_kissTest, &QPushButton::clicked, this, &SetupWindow::testKiss);
    connect(&m_aprsIsProbe, &LinkProbe::finished, this, [this](bool working, const QString& words) {
        showProbeResult(m_aprsIsTestResult, working, words);
        m_aprsIsTest->setEnabled(true);
    });
    connect(&m_kissProbe, &LinkProbe::finished, this, [this](bool working, const QString& words) {
        showProbeResult(m_kissTestResult, working, words);
        m_kissTest->setEnabled(true);
    });
    connect(m_fromGpsd, &QRadioButton::toggled, this, &SetupWindow::updateEnabled);
    connect(m_callsign, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_login->setPlaceholderText(text); });
    m_login->setPlaceholderText(conf.callsign.isEmpty() ? QStringLiteral("your callsign")
                                                        : conf.callsign);

    // gpsd is followed live while it is the source; an address being typed is tried once
    // the typing pauses.
    m_gpsdRestart.setSingleShot(true);
    m_gpsdRestart.setInterval(600);
    connect(&m_gpsdRestart, &QTimer::timeout, this, &SetupWindow::followGpsd);
    connect(m_gpsd, &QLineEdit::textChanged, &m_gpsdRestart, qOverload<>(&QTimer::start));
    connect(&m_gpsdWatch, &feed::GpsdClient::fixReceived, this, &SetupWindow::onGpsdFix);
    connect(&m_gpsdWatch, &feed::FeedLink::stateChanged, this,
            [this](feed::FeedLink::State state, const QString& text) {
                if (state == feed::FeedLink::State::Connected)
                    m_gpsdFix->setText(QStringLiteral("gpsd answers; waiting for a fix..."));
                else if (state != feed::FeedLink::State::Stopped)
                    m_gpsdFix->setText(text);
            });
    m_gpsdWatch.setReconnectDelays(1000, 5000);
    updateEnabled();
}

SetupWindow::~SetupWindow() {
    m_gpsdWatch.stop();
}

QLineEdit* SetupWindow::addField(QFormLayout* form, const QString& name, const QString& label,
                                 const QString& text, QLabel** problem) {
    auto* field = new QLineEdit(text, form->parentWidget());
    field->setObjectName(name);
    *problem = problemLabel(form->parentWidget(), name + QStringLiteral("Problem"));
    auto* column = new QVBoxLayout;
    column->setSpacing(1);
    column->addWidget(field);
    column->addWidget(*problem);
    form->addRow(label, column);
    if (auto* caption = qobject_cast<QLabel*>(form->labelForField(column)))
        caption->setBuddy(field);
    return field;
}

void SetupWindow::updateEnabled() {
    const bool gpsd = m_fromGpsd->isChecked();
    m_gpsd->setEnabled(gpsd);
    m_gpsdFix->setVisible(gpsd);
    if (gpsd) {
        followGpsd();
    } else {
        m_gpsdRestart.stop();
        m_gpsdWatch.stop();
        report(m_gpsdProblem, {});
    }
}

void SetupWindow::followGpsd() {
    m_gpsdWatch.stop();
    if (!m_fromGpsd->isChecked())
        return;
    QString address;
    if (!report(m_gpsdProblem,
                setup::addressProblem(m_gpsd->text(), TrackerConf::DefaultGpsdPort, &address))) {
        m_gpsdFix->clear();
        return;
    }
    QString host;
    quint16 port = 0;
    feed::parseHostPort(address, host, port);
    m_gpsdFix->setText(QStringLiteral("Asking gpsd at %1...").arg(address));
    m_gpsdWatch.start(host, port);
}

void SetupWindow::onGpsdFix(double latitude, double longitude, int mode) {
    m_gpsdFix->setText(QStringLiteral("%1 at %2: %3 %4")
                           .arg(feed::fixWords(mode),
                                QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss")),
                                QString::number(latitude, 'f', 5),
                                QString::number(longitude, 'f', 5)));
}

void SetupWindow::showProbeResult(QLabel* label, bool working, const QString& words) {
    label->setText(words);
    label->setToolTip(words);
    // A word-wrapped label does not make a window that is already shown taller: without its
    // height the result would be cut to the lines the window had room for.
    label->setMinimumHeight(label->heightForWidth(label->width()));
    label->setStyleSheet(working ? QStringLiteral("color: #1b5e20")
                                 : QStringLiteral("color: #b00020"));
}

void SetupWindow::testAprsIs() {
    QString address;
    if (!report(m_aprsIsServerProblem,
                setup::addressProblem(m_aprsIsServer->text(), TrackerConf::DefaultAprsIsPort,
                                      &address)))
        return;
    const QString login = m_login->text().isEmpty() ? m_callsign->text() : m_login->text();
    if (!report(m_loginProblem, setup::loginProblem(login)) ||
        !report(m_passcodeProblem, setup::passcodeProblem(m_passcode->text())))
        return;
    QString host;
    quint16 port = 0;
    feed::parseHostPort(address, host, port);
    showProbeResult(m_aprsIsTestResult, true, QStringLiteral("Testing %1...").arg(address));
    m_aprsIsTest->setEnabled(false);
    m_aprsIsProbe.start(host, port, login, m_passcode->text());
}

void SetupWindow::testKiss() {
    QString address;
    if (!report(
            m_kissAddressProblem,
            setup::addressProblem(m_kissAddress->text(), TrackerConf::DefaultKissPort, &address)))
        return;
    QString host;
    quint16 port = 0;
    feed::parseHostPort(address, host, port);
    showProbeResult(m_kissTestResult, true, QStringLiteral("Testing %1...").arg(address));
    m_kissTest->setEnabled(false);
    m_kissProbe.start(host, port);
}

std::optional<TrackerConf> SetupWindow::checkedConf() {
    TrackerConf conf = m_start;
    QList<QWidget*> refused;
    const auto check = [&](QWidget* field, QLabel* label, const QString& problem) {
        if (!report(label, problem))
            refused << field;
    };
    conf.callsign = m_callsign->text();
    check(m_callsign, m_callsignProblem, setup::callsignProblem(conf.callsign));

    const bool gpsd = m_fromGpsd->isChecked();
    conf.gpsd.clear();
    if (gpsd)
        check(m_gpsd, m_gpsdProblem,
              setup::addressProblem(m_gpsd->text(), TrackerConf::DefaultGpsdPort, &conf.gpsd));
    else
        report(m_gpsdProblem, {});
    // With gpsd the position is where the tracker starts until a fix comes; it may be empty.
    const bool positionGiven =
        !m_latitude->text().trimmed().isEmpty() || !m_longitude->text().trimmed().isEmpty();
    conf.latitude.reset();
    conf.longitude.reset();
    for (const auto& [field, label, axis, value] :
         {std::tuple{m_latitude, m_latitudeProblem, setup::Axis::Latitude, &conf.latitude},
          std::tuple{m_longitude, m_longitudeProblem, setup::Axis::Longitude, &conf.longitude}}) {
        double degrees = 0.0;
        if (!gpsd || positionGiven) {
            const QString problem = setup::coordinateProblem(field->text(), axis, &degrees);
            check(field, label, problem);
            if (problem.isEmpty())
                *value = degrees;
        } else {
            report(label, {});
        }
    }
    // An unchanged position keeps the digits it was saved with.
    if (conf.latitude && m_start.latitude && m_latitude->text() == degreesText(m_start.latitude))
        conf.latitude = m_start.latitude;
    if (conf.longitude && m_start.longitude &&
        m_longitude->text() == degreesText(m_start.longitude))
        conf.longitude = m_start.longitude;

    conf.aprsIs.clear();
    if (m_aprsIs->isChecked()) {
        check(m_aprsIsServer, m_aprsIsServerProblem,
              setup::addressProblem(m_aprsIsServer->text(), TrackerConf::DefaultAprsIsPort,
                                    &conf.aprsIs));
        conf.login = m_login->text();
        check(m_login, m_loginProblem,
              conf.login.isEmpty() ? QString() : setup::loginProblem(conf.login));
        conf.passcode = m_passcode->text();
        check(m_passcode, m_passcodeProblem, setup::passcodeProblem(conf.passcode));
        conf.rangeKm = m_range->value();
    } else {
        for (QLabel* label : {m_aprsIsServerProblem, m_loginProblem, m_passcodeProblem})
            report(label, {});
    }
    conf.kiss.clear();
    if (m_kiss->isChecked())
        check(
            m_kissAddress, m_kissAddressProblem,
            setup::addressProblem(m_kissAddress->text(), TrackerConf::DefaultKissPort, &conf.kiss));
    else
        report(m_kissAddressProblem, {});

    const QString unit = m_unit->currentData().toString();
    // No unit saved and kilometres kept: still none, so that a scenario's unit stands.
    conf.unit = m_start.unit.isEmpty() && unit == QStringLiteral("km") ? QString() : unit;
    if (m_expire->text() != QString::number(m_start.expireMinutes, 'g', 10))
        check(m_expire, m_expireProblem,
              setup::expiryProblem(m_expire->text(), &conf.expireMinutes));
    else
        report(m_expireProblem, {});

    if (!refused.isEmpty()) {
        refused.first()->setFocus();
        return std::nullopt;
    }
    return conf;
}

void SetupWindow::addSection(QWidget* section) {
    auto* column = qobject_cast<QVBoxLayout*>(layout());
    column->insertWidget(column->indexOf(m_saveProblem), section);
}

void SetupWindow::tryAccept() {
    report(m_saveProblem, {});
    const std::optional<TrackerConf> conf = checkedConf();
    if (!conf)
        return;
    if (!report(m_saveProblem, m_apply(*conf)))
        return;
    m_aprsIsProbe.cancel();
    m_kissProbe.cancel();
    m_gpsdWatch.stop();
    accept();
}
