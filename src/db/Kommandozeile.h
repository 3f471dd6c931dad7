#pragma once
#include <QString>

class QCommandLineParser;

namespace talu {

class Datenbank;

// --- What every program and tool answers: --help and --version, in German ---
//
// standardOptionen() first, the program's own options after it, then
// verarbeite() instead of QCommandLineParser::process(). Qt's own texts of the
// parser ("Usage:", "Options:", its error messages) are German as well,
// whether Qt's translations are installed or not.

// The project version, e.g. "1.0.79" (project(TALU VERSION ...) in CMakeLists.txt).
QString projektVersion();
// The version line of every program: "talu-db (TALU) 1.0.79"; a zusatz (the
// edition of a GUI program) follows after a dash.
QString versionsZeile(const QString& programm, const QString& zusatz = QString());

// Adds -h/--help and -v/--version with German descriptions.
void standardOptionen(QCommandLineParser& p);

// Parses the application's arguments. --help prints the help, --version the
// version line of QCoreApplication::applicationName() (with versionsZusatz),
// both to standard output, and end the program with 0; a wrong option goes to
// standard error and ends it with 2. unbekannteZulassen ignores unknown
// options (a GUI program, whose other options are Qt's).
void verarbeite(QCommandLineParser& p, const QString& versionsZusatz = QString(), bool unbekannteZulassen = false);

// True when an argument is -h, --help, -v or --version: a GUI program answers
// those before its QApplication needs a screen.
bool fragtHilfeOderVersion(int argc, char** argv);

// --- The connection options of the command-line tools ---

// --server, --datenbank, --benutzer, --passwort, read as the login form reads
// its fields.
void verbindungsOptionen(QCommandLineParser& p);

// Opens db from those options. Returns 0 when it is open; otherwise the exit
// code (2: the server field cannot be read, 1: no connection), after the
// reason went to standard error.
int oeffneAusOptionen(const QCommandLineParser& p, Datenbank& db);

}  // namespace talu
