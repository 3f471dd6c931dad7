#pragma once

class QCommandLineParser;

namespace talu {

class Datenbank;

// The connection options the command-line tools share: --server, --datenbank,
// --benutzer, --passwort, read as the login form reads its fields.
void verbindungsOptionen(QCommandLineParser& p);

// Opens db from those options. Returns 0 when it is open; otherwise the exit
// code (2: the server field cannot be read, 1: no connection), after the
// reason went to standard error.
int oeffneAusOptionen(const QCommandLineParser& p, Datenbank& db);

}  // namespace talu
