#include "BenchDatenbank.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "db/Datenbank.h"

namespace talu::bench {

namespace {

QString marke(qint64 grundstuecke) { return QString("talu-bench %1 %2").arg(kGeneratorVersion).arg(grundstuecke); }
QString markenDatei(const BenchZiel& z) { return z.datei + ".fertig"; }

bool verwaltung(const BenchZiel& z, Datenbank& db, QString* fehler) {
    return db.oeffnen(Verbindungsziel::ausEingabe(z.serverFeld(), "postgres", {}), z.benutzer, z.passwort, fehler);
}

// Database names are checked, never quoted from outside: they go into DDL.
bool gueltigerName(const QString& n) {
    static const QRegularExpression re("^[a-z_][a-z0-9_]{0,62}$");
    return re.match(n).hasMatch();
}

}  // namespace

QString BenchZiel::serverFeld() const {
    return backend == Backend::SQLite ? QStringLiteral("sqlite") : QString("postgres:%1:%2").arg(host).arg(port) + optionen;
}

QString BenchZiel::datenbankFeld() const { return backend == Backend::SQLite ? datei : name; }

QString BenchZiel::beschreibung() const {
    return backend == Backend::SQLite ? "SQLite-Datei " + datei : QString("PostgreSQL %1:%2, Datenbank %3").arg(host).arg(port).arg(name);
}

Verbindungsziel BenchZiel::ziel(bool anlegen) const {
    Verbindungsziel v = Verbindungsziel::ausEingabe(serverFeld(), datenbankFeld(), {});
    v.anlegen = anlegen;
    return v;
}

BenchZiel BenchZiel::aus(const QString& server, const QString& datenbank, qint64 grundstuecke,
                         const QString& standardVerzeichnis) {
    BenchZiel z;
    if (server.startsWith(QLatin1String("postgres:"))) {
        const Verbindungsziel v = Verbindungsziel::ausEingabe(server, "x", {});
        z.backend = Backend::PostgreSQL;
        z.host = v.host;
        z.port = v.port;
        z.optionen = v.optionenText();
        z.name = datenbank.isEmpty() ? QString("talu_bench_%1").arg(grundstuecke) : datenbank;
    } else {
        z.backend = Backend::SQLite;
        z.datei = datenbank.isEmpty() ? QDir(standardVerzeichnis).filePath(QString("talu-bench-%1.talu").arg(grundstuecke))
                                      : QFileInfo(datenbank).absoluteFilePath();
    }
    return z;
}

bool oeffneBenchDatenbank(Datenbank& db, const BenchZiel& z, QString* fehler) {
    return db.oeffnen(z.ziel(), z.benutzer, z.passwort, fehler);
}

bool benchDatenbankFertig(const BenchZiel& z, qint64 grundstuecke, QString* grund) {
    auto nein = [&](const QString& g) {
        if (grund) *grund = g;
        return false;
    };
    if (z.backend == Backend::SQLite) {
        if (!QFileInfo(z.datei).isFile()) return nein("Die Datei gibt es noch nicht.");
        QFile m(markenDatei(z));
        if (!m.open(QIODevice::ReadOnly)) return nein("Die Datei ist nicht fertig erzeugt worden.");
        const QString inhalt = QString::fromUtf8(m.readAll()).trimmed();
        if (inhalt != marke(grundstuecke)) return nein("Die Datei stammt von einer anderen Erzeugung (" + inhalt + ").");
        return true;
    }
    Datenbank db;
    QString fehler;
    if (!verwaltung(z, db, &fehler)) return nein("Keine Verbindung zum Server: " + fehler);
    const QVariant kommentar =
        db.wert("select shobj_description(oid, 'pg_database') from pg_database where datname = ?", {z.name});
    if (kommentar.isNull()) return nein("Die Datenbank gibt es noch nicht oder sie ist nicht fertig erzeugt worden.");
    if (kommentar.toString() != marke(grundstuecke))
        return nein("Die Datenbank stammt von einer anderen Erzeugung (" + kommentar.toString() + ").");
    return true;
}

bool entferneBenchDatenbank(const BenchZiel& z, QString* fehler) {
    if (z.backend == Backend::SQLite) {
        QFile::remove(markenDatei(z));
        for (const QString& rest : {z.datei + "-journal", z.datei + "-wal", z.datei + "-shm"}) QFile::remove(rest);
        if (QFile::exists(z.datei) && !QFile::remove(z.datei)) {
            if (fehler) *fehler = "Die Datei " + z.datei + " lässt sich nicht löschen.";
            return false;
        }
        return true;
    }
    if (!gueltigerName(z.name)) {
        if (fehler) *fehler = "Ungültiger Datenbankname: " + z.name;
        return false;
    }
    Datenbank db;
    if (!verwaltung(z, db, fehler)) return false;
    try {
        db.ausfuehren("drop database if exists " + z.name + " with (force)");
    } catch (const DbFehler& e) {
        if (fehler) *fehler = e.serverText();
        return false;
    }
    return true;
}

Erzeugt baueBenchDatenbank(const BenchZiel& z, const Umfang& u, const Referenzdaten& ref,
                           const FortschrittsMeldung& meldung) {
    QString fehler;
    if (!entferneBenchDatenbank(z, &fehler)) throw DbFehler("Alte Datenbank nicht entfernt", fehler);
    if (z.backend == Backend::PostgreSQL) {
        Datenbank v;
        if (!verwaltung(z, v, &fehler)) throw DbFehler("Keine Verbindung zum Server", fehler);
        // The program's case-insensitive comparisons rely on a UTF-8 database in C.UTF-8.
        v.ausfuehren("create database " + z.name +
                     " template template0 encoding 'UTF8' lc_collate 'C.UTF-8' lc_ctype 'C.UTF-8'");
    } else {
        QDir().mkpath(QFileInfo(z.datei).absolutePath());
    }
    Erzeugt e;
    {
        Datenbank db;
        if (!db.oeffnen(z.ziel(true), z.benutzer, z.passwort, &fehler)) throw DbFehler("Datenbank nicht geöffnet", fehler);
        e = erzeugeBenchDaten(db, u, ref, meldung);
    }
    if (z.backend == Backend::SQLite) {
        QFile m(markenDatei(z));
        if (!m.open(QIODevice::WriteOnly | QIODevice::Truncate) || m.write(marke(u.grundstuecke).toUtf8()) < 0)
            throw DbFehler("Marke nicht geschrieben", m.errorString());
    } else {
        Datenbank v;
        if (!verwaltung(z, v, &fehler)) throw DbFehler("Keine Verbindung zum Server", fehler);
        // COMMENT takes no parameters; the text is built from numbers only.
        v.ausfuehren("comment on database " + z.name + " is '" + marke(u.grundstuecke) + "'");
    }
    return e;
}

}  // namespace talu::bench
