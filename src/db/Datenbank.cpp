#include "db/Datenbank.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

namespace talu {

namespace {
QAtomicInt g_zaehler;

QString fehlerText(const QSqlError& e) {
    QString t = e.databaseText().trimmed();
    const QString d = e.driverText().trimmed();
    if (t.isEmpty()) t = d;
    else if (!d.isEmpty() && !t.contains(d)) t = d + ": " + t;
    return t.isEmpty() ? QStringLiteral("Unbekannter Fehler") : t;
}

QSqlQuery bereite(const QSqlDatabase& db, const QString& sql, const Parameter& p, bool vorwaerts) {
    QSqlQuery q(db);
    q.setForwardOnly(vorwaerts);
    // Without values there is nothing to bind; DDL cannot be prepared on PostgreSQL.
    if (p.isEmpty()) {
        if (!q.exec(sql)) throw DbFehler("Die Anweisung ist fehlgeschlagen", fehlerText(q.lastError()), sql);
        return q;
    }
    if (!q.prepare(sql))
        throw DbFehler("Die Anweisung konnte nicht vorbereitet werden", fehlerText(q.lastError()), sql);
    for (int i = 0; i < p.size(); ++i) q.bindValue(i, p.at(i));
    if (!q.exec()) throw DbFehler("Die Anweisung ist fehlgeschlagen", fehlerText(q.lastError()), sql);
    return q;
}
}  // namespace

Datenbank::Datenbank() : m_name(QString("talu_%1").arg(g_zaehler.fetchAndAddRelaxed(1))) {}

Datenbank::~Datenbank() { schliessen(); }

bool Datenbank::oeffnen(const Verbindungsziel& ziel, const QString& benutzer, const QString& passwort,
                        QString* fehler) {
    schliessen();
    if (!ziel.fehler.isEmpty()) {
        if (fehler) *fehler = ziel.fehler;
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(ziel.qtTreiber())) {
        if (fehler) *fehler = "Der Datenbanktreiber " + ziel.qtTreiber() + " ist nicht installiert.";
        return false;
    }
    // Qt's SQLite driver would create a missing file (this Qt version ignores
    // the no-create option), so a mistyped path must be refused here.
    if (ziel.backend == Backend::SQLite && !ziel.anlegen && !QFileInfo(ziel.datenbank).isFile()) {
        if (fehler) *fehler = QStringLiteral("Die Datenbankdatei \"%1\" gibt es nicht.").arg(ziel.datenbank);
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(ziel.qtTreiber(), m_name);
    switch (ziel.backend) {
        case Backend::SQLite:
            db.setDatabaseName(ziel.datenbank);
            // Never create an empty file by mistake: a login names an existing database.
            if (!ziel.anlegen) db.setConnectOptions("QSQLITE_OPEN_READWRITE_NO_CREATE");
            break;
        case Backend::PostgreSQL:
            db.setHostName(ziel.host);
            db.setPort(ziel.port);
            db.setDatabaseName(ziel.datenbank);
            db.setUserName(benutzer);
            db.setPassword(passwort);
            db.setConnectOptions("connect_timeout=10");
            break;
        case Backend::SQLServer:
            db.setDatabaseName(ziel.odbcVerbindungstext(benutzer, passwort));
            db.setConnectOptions("SQL_ATTR_LOGIN_TIMEOUT=10");
            break;
    }
    if (!db.open()) {
        if (fehler) *fehler = fehlerText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        return false;
    }
    m_dialekt = Dialekt(ziel.backend);
    if (ziel.backend == Backend::SQLite) {
        if (!registriereSqliteFunktionen(db)) {
            if (fehler) *fehler = "Die SQLite-Funktionen konnten nicht angemeldet werden.";
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            return false;
        }
        QSqlQuery q(db);
        q.exec("pragma foreign_keys = on");
    }
    if (ziel.backend == Backend::PostgreSQL) {
        QSqlQuery q(db);
        q.exec("set client_encoding to 'UTF8'");
    }
    return true;
}

void Datenbank::schliessen() {
    if (!QSqlDatabase::contains(m_name)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_transaktionen = 0;
}

bool Datenbank::istOffen() const {
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Datenbank::qt() const {
    if (!istOffen()) throw DbFehler("Keine Verbindung", "Es besteht keine Verbindung zur Datenbank.");
    return QSqlDatabase::database(m_name, false);
}

Recordset Datenbank::abfrage(const QString& sql, const Parameter& p) const {
    QSqlQuery q = bereite(qt(), sql, p, true);
    QVector<QSqlRecord> zeilen;
    while (q.next()) zeilen.append(q.record());
    return Recordset(q.record(), std::move(zeilen));
}

QVariant Datenbank::wert(const QString& sql, const Parameter& p) const {
    QSqlQuery q = bereite(qt(), sql, p, true);
    if (q.next()) return q.value(0);
    return {};
}

int Datenbank::ausfuehren(const QString& sql, const Parameter& p) const {
    QSqlQuery q = bereite(qt(), sql, p, true);
    return q.numRowsAffected();
}

void Datenbank::durchlaufe(const QString& sql, const Parameter& p,
                           const std::function<bool(const QSqlRecord&)>& zeile) const {
    QSqlQuery q = bereite(qt(), sql, p, true);
    while (q.next())
        if (!zeile(q.record())) break;
}

qint64 Datenbank::einfuegen(const QString& tabelle, const Werte& werte) const {
    QStringList spalten;
    Parameter p;
    for (const auto& [s, v] : werte) {
        spalten << s;
        p << v;
    }
    QSqlQuery q = bereite(qt(), m_dialekt.einfuegenMitId(tabelle, spalten), p, true);
    if (!q.next())
        throw DbFehler("Einfügen ohne Schlüssel", "Der Server hat keine neue id zurückgegeben.");
    return q.value(0).toLongLong();
}

int Datenbank::aendern(const QString& tabelle, qint64 id, const Werte& werte) const {
    if (werte.isEmpty()) return 0;
    QStringList teile;
    Parameter p;
    for (const auto& [s, v] : werte) {
        teile << s + " = ?";
        p << v;
    }
    p << id;
    return ausfuehren("update " + tabelle + " set " + teile.join(", ") + " where id = ?", p);
}

void Datenbank::beginne() const {
    if (m_transaktionen == 0 && !qt().transaction())
        throw DbFehler("Transaktion nicht begonnen", fehlerText(qt().lastError()));
    ++m_transaktionen;
}

void Datenbank::bestaetige() const {
    if (m_transaktionen <= 0) return;
    if (--m_transaktionen == 0 && !qt().commit()) {
        const QString t = fehlerText(qt().lastError());
        qt().rollback();
        throw DbFehler("Transaktion nicht abgeschlossen", t);
    }
}

void Datenbank::verwerfe() const {
    if (m_transaktionen <= 0) return;
    m_transaktionen = 0;
    if (istOffen()) qt().rollback();
}

Transaktion::Transaktion(const Datenbank& db) : m_db(db) { m_db.beginne(); }

Transaktion::~Transaktion() {
    if (m_offen) m_db.verwerfe();
}

void Transaktion::bestaetige() {
    m_offen = false;
    m_db.bestaetige();
}

}  // namespace talu
