#pragma once
#include <QList>
#include <QString>

namespace talu::bench {

struct BenchZiel;

// Start-up of the talu executable on a virtual X display (Xvfb), watched
// from outside: the time from starting the process until the login window
// is mapped, and the resident memory (VmRSS of /proc) once the login form
// is idle and once the main window stands after logging in with the stored
// login data (zugang.dat) of the benchmark database.
struct StartErgebnis {
    QList<double> startMs;
    QList<double> rssAnmeldungMb;
    QList<double> rssNachAnmeldungMb;
    QString fehler;  // why nothing (or not everything) was measured
};

StartErgebnis messeStart(const QString& taluProgramm, const BenchZiel& ziel, int laeufe);

// VmRSS of a process in MB; NaN when unknown.
double residentMb(qint64 pid);

}  // namespace talu::bench
