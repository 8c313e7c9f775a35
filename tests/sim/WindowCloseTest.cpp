// Guards against a tracker window closed without telling the add-ons or leaving the bus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "HostProcess.h"
#include "HostProgram.h"
#include "HostWindow.h"

namespace {

// Closing the tracker's window goes the same way as a signal or --quit-after: the add-ons
// hear Kestrel32IsClosing, then the tracker leaves the bus.
TEST(HostWindowClose, announcesTheClosingAndLeavesTheBus) {
    const HostProcess files; // not started: its folders and journal only
    HostOptions options;
    options.folder = files.folder();
    options.journalFile = files.journalPath();
    HostProgram program(options);
    QString error;
    ASSERT_TRUE(program.start(&error)) << error.toStdString();
    ASSERT_TRUE(HostProcess::waitForBusName(true, 2000));
    // The program object runs in this process: the test's main keeps its records out of the
    // operator's settings; what it writes at start is HostProgramTest's.
    QWidget* window = program.window();
    ASSERT_TRUE(window && window->isVisible());
    // The event loop ends with the closing: run it until then.
    QTimer::singleShot(0, window, &QWidget::close);
    QTimer::singleShot(10000, qApp, &QCoreApplication::quit); // a bound, should it hang
    QApplication::exec();

    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(HostProcess::waitForBusName(false, 2000));
    const QList<QJsonObject> lines = files.journal();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.last().value(QStringLiteral("event")).toString(), "Kestrel32IsClosing");
    EXPECT_EQ(lines.size(), 1) << "no add-on called, no event enabled: only the closing";
}

} // namespace
