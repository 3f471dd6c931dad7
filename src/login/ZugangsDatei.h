#pragma once
#include <QString>

namespace talu {

struct Publics;

// The four values of the login form.
struct Anmeldedaten {
    QString server, datenbank, benutzer, passwort;
    bool operator==(const Anmeldedaten&) const = default;
};

// The stored login data "zugang.dat" in the program directory: four lines
// (server, database, user, password), each ended by CR LF, UTF-8, readable by
// its owner only. Lines are read back whole, so commas and quotation marks
// survive the round trip.
class ZugangsDatei {
public:
    enum class Lesen { KeineDatei, Gelesen, Fehler };
    // Each value fits the login form's fields; the file is four such lines.
    static constexpr int kHoechstZeichen = 255;
    static constexpr qint64 kHoechstBytes = 4 * (kHoechstZeichen * 3 + 2) + 16;

    ZugangsDatei();  // programmDatei("zugang.dat")
    explicit ZugangsDatei(const QString& pfad);

    const QString& pfad() const { return m_pfad; }
    bool vorhanden() const;
    // Fewer than four lines, a line longer than kHoechstZeichen, an unreadable file, anything
    // but a regular file of at most kHoechstBytes, or text that is not UTF-8 give Fehler;
    // daten is only changed on Gelesen.
    Lesen lese(Anmeldedaten& daten, QString* grund = nullptr) const;
    // Replaces the file as a whole and atomically (a new file renamed over the
    // old one); it never exists with other permissions than 0600, also where the
    // old file had wider ones.
    bool schreibe(const Anmeldedaten& daten, QString* fehler = nullptr) const;
    // False if the file exists but cannot be removed.
    bool loesche(QString* fehler = nullptr) const;

private:
    QString m_pfad;
};

// The login form's logic, without the form.
namespace anmeldung {

inline const QString kMeldungLeer =
    QStringLiteral("Es muessen fuer die Verbindung alle Datenfelder ausgefuellt sein!");
inline const QString kMeldungLesefehler =
    QStringLiteral(" Beim Einlesen der gespeicherten Anmeldedaten ist ein Fehler passiert!");
inline const QString kStatusSuche = QStringLiteral("SQL-Server wird gesucht ...");
inline const QString kStatusFehlgeschlagen = QStringLiteral("Die Verbindung zum SQL-Server ist fehl geschlagen!");

// PruefeEingaben without its message: every field non-empty after trimming blanks.
bool eingabenVollstaendig(const Anmeldedaten& d);
// UebernehmeEingaben.
void uebernehme(const Anmeldedaten& d, Publics& p);
// Verbinden: opens p.Verbindung with the shared login values. "sql" logs in as
// DbBenutzer/DbPasswort; "nt" (operating-system account) passes neither, which
// means peer/trust authentication on PostgreSQL and makes no difference on SQLite.
// On failure the driver's text is left in *fehler.
bool verbinden(Publics& p, const QString& modus, QString* fehler = nullptr);
// What the operator is shown about a failed connection: the server's text and the rule
// of the server field.
QString fehlerDetails(const QString& serverText);

}  // namespace anmeldung

}  // namespace talu
