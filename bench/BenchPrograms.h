#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// What the benchmarks that run the real programs share: the scenario they load kestrel32
// with, a private home for each program, starting kestrel32 until it is on the bus, and
// reading a process's resident memory.
namespace benchprograms {

// The own station G0OWN at 52 N 1 W and stations - 1 others, "ST1" ... in a scrambled
// order: `inRange` of them within 5 km, the rest 40 km and more away.
QByteArray scrambledScenario(int stations, int inRange);

// The calling environment with settings, data, runtime and home under `home`, offscreen.
QProcessEnvironment privateEnvironment(const QString& home);

// Writes the scenario into `home`, starts kestrel32 on it (with `extraArguments`) and waits
// until it is on the bus; false when it did not come.
bool startKestrel32(QProcess& process, const QString& home, const QByteArray& scenario,
                    const QStringList& extraArguments = {});

// Resident memory of a process in MiB (VmRSS), or -1.
double residentMb(qint64 pid);

} // namespace benchprograms
