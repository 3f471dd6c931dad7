#include "db/Datenbank.h"

#include "db/Schema.h"

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

bool istLesend(const QString& sql) {
    const QString t = sql.trimmed();
    return t.startsWith(QLatin1String("select"), Qt::CaseInsensitive);
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
    m_ziel = ziel;
    m_ziel.anlegen = false;  // a reconnect never creates a file
    m_benutzer = benutzer;
    m_passwort = passwort;
    m_gemerkt = true;
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
        q.finish();
        sichereSqliteSuchspalten();
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
    m_ebenen.clear();
}

bool Datenbank::istOffen() const {
    return QSqlDatabase::contains(m_name) && QSqlDatabase::database(m_name, false).isOpen();
}

QSqlDatabase Datenbank::qt() const {
    // A connection that was lost with the server is opened again with the same
    // login, once per action, but never in the middle of a transaction.
    if (!istOffen() && !(m_gemerkt && m_ebenen.isEmpty() && verbindeNeu()))
        throw DbFehler("Keine Verbindung", "Es besteht keine Verbindung zur Datenbank.");
    return QSqlDatabase::database(m_name, false);
}

QSqlQuery Datenbank::fuehreEinmalAus(const QString& sql, const Parameter& p) const {
    QSqlQuery q(qt());
    q.setForwardOnly(true);
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

QSqlQuery Datenbank::fuehreAus(const QString& sql, const Parameter& p, Art art) const {
    try {
        return fuehreEinmalAus(sql, p);
    } catch (const DbFehler& f) {
        if (!m_ebenen.isEmpty()) {
            // The level must not be committed as if nothing had failed.
            m_ebenen.last() = true;
            throw;
        }
        if (m_dialekt.backend() == Backend::SQLite || verbindungLebt()) throw;
        // The server went away. Reconnect once; repeat only what cannot have written anything.
        const bool wieder = verbindeNeu();
        if (!wieder)
            throw DbFehler(QStringLiteral("Die Verbindung zur Datenbank ist unterbrochen"),
                           QStringLiteral("Der Datenbankserver ist nicht erreichbar. Sobald er wieder läuft, "
                                          "wiederholen Sie den letzten Schritt; TALU meldet sich dann selbst "
                                          "wieder an.\n\n") + f.serverText(),
                           sql);
        if (art == Art::Lesen) return fuehreEinmalAus(sql, p);
        throw DbFehler(QStringLiteral("Die Verbindung zur Datenbank war unterbrochen"),
                       QStringLiteral("TALU hat sich wieder angemeldet. Der letzte Schritt ist nicht sicher "
                                      "gespeichert und wurde nicht wiederholt: bitte wiederholen Sie ihn.\n\n") +
                           f.serverText(),
                       sql);
    }
}

bool Datenbank::verbindungLebt() const {
    if (!istOffen()) return false;
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    return q.exec(QStringLiteral("select 1")) && q.next();
}

bool Datenbank::verbindeNeu() const {
    if (!m_gemerkt) return false;
    // oeffnen() is the one place that opens a connection; it replaces the lost one.
    auto* selbst = const_cast<Datenbank*>(this);
    const Verbindungsziel ziel = m_ziel;
    const QString benutzer = m_benutzer, passwort = m_passwort;
    return selbst->oeffnen(ziel, benutzer, passwort, nullptr);
}

Recordset Datenbank::abfrage(const QString& sql, const Parameter& p) const {
    QSqlQuery q = fuehreAus(sql, p, istLesend(sql) ? Art::Lesen : Art::Schreiben);
    QVector<QSqlRecord> zeilen;
    while (q.next()) zeilen.append(q.record());
    return Recordset(q.record(), std::move(zeilen));
}

QVariant Datenbank::wert(const QString& sql, const Parameter& p) const {
    QSqlQuery q = fuehreAus(sql, p, istLesend(sql) ? Art::Lesen : Art::Schreiben);
    if (q.next()) return q.value(0);
    return {};
}

int Datenbank::ausfuehren(const QString& sql, const Parameter& p) const {
    QSqlQuery q = fuehreAus(sql, p, istLesend(sql) ? Art::Lesen : Art::Schreiben);
    return q.numRowsAffected();
}

void Datenbank::durchlaufe(const QString& sql, const Parameter& p,
                           const std::function<bool(const QSqlRecord&)>& zeile) const {
    QSqlQuery q = fuehreAus(sql, p, istLesend(sql) ? Art::Lesen : Art::Schreiben);
    while (q.next())
        if (!zeile(q.record())) break;
}

qint64 Datenbank::einfuegen(const QString& tabelle, const Werte& werte) const {
    QStringList spalten;
    Parameter p;
    for (const auto& [s, v] : mitSuchspalten(tabelle, werte)) {
        spalten << s;
        p << v;
    }
    QSqlQuery q = fuehreAus(m_dialekt.einfuegenMitId(tabelle, spalten), p, Art::Schreiben);
    if (!q.next())
        throw DbFehler("Einfügen ohne Schlüssel", "Der Server hat keine neue id zurückgegeben.");
    return q.value(0).toLongLong();
}

int Datenbank::aendern(const QString& tabelle, qint64 id, const Werte& werte) const {
    if (werte.isEmpty()) return 0;
    QStringList teile;
    Parameter p;
    for (const auto& [s, v] : mitSuchspalten(tabelle, werte)) {
        teile << s + " = ?";
        p << v;
    }
    p << id;
    return ausfuehren("update " + tabelle + " set " + teile.join(", ") + " where id = ?", p);
}

Anweisung Datenbank::vorbereite(const QString& sql) const {
    Anweisung a;
    a.m_db = this;
    a.m_sql = sql;
    a.m_q = QSqlQuery(qt());
    a.m_q.setForwardOnly(true);
    if (!a.m_q.prepare(sql)) {
        if (!m_ebenen.isEmpty()) m_ebenen.last() = true;
        throw DbFehler("Die Anweisung konnte nicht vorbereitet werden", fehlerText(a.m_q.lastError()), sql);
    }
    return a;
}

int Anweisung::fuehreAus(const Parameter& werte) {
    if (!m_db) throw DbFehler("Die Anweisung ist fehlgeschlagen", "Die Anweisung ist nicht vorbereitet.");
    for (int i = 0; i < werte.size(); ++i) m_q.bindValue(i, werte.at(i));
    if (!m_q.exec()) {
        if (!m_db->m_ebenen.isEmpty()) m_db->m_ebenen.last() = true;
        throw DbFehler("Die Anweisung ist fehlgeschlagen", fehlerText(m_q.lastError()), m_sql);
    }
    const int n = m_q.numRowsAffected();
    m_q.finish();
    return n;
}

std::unique_ptr<Datenbank> Datenbank::zweiteVerbindung(QString* fehler) const {
    if (!m_gemerkt) {
        if (fehler) *fehler = QStringLiteral("Es besteht keine Verbindung zur Datenbank.");
        return nullptr;
    }
    auto db = std::make_unique<Datenbank>();
    if (!db->oeffnen(m_ziel, m_benutzer, m_passwort, fehler)) return nullptr;
    return db;
}

void Datenbank::steuerAnweisung(const QString& sql) const {
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    if (!q.exec(sql)) throw DbFehler("Die Transaktion konnte nicht gesteuert werden", fehlerText(q.lastError()), sql);
}

void Datenbank::beginne() const {
    if (m_ebenen.isEmpty()) {
        QSqlDatabase db = qt();
        if (!db.transaction()) throw DbFehler("Transaktion nicht begonnen", fehlerText(db.lastError()));
    } else {
        if (!istOffen()) throw DbFehler("Keine Verbindung", "Es besteht keine Verbindung zur Datenbank.");
        steuerAnweisung(m_dialekt.sicherungspunkt(int(m_ebenen.size())));
    }
    m_ebenen.append(false);
}

void Datenbank::bestaetige() const {
    if (m_ebenen.isEmpty()) return;
    const int ebene = int(m_ebenen.size()) - 1;
    if (m_ebenen.last()) {
        verwerfe();
        throw DbFehler("Transaktion nicht abgeschlossen",
                       "Eine Anweisung der Transaktion ist fehlgeschlagen; ihre Änderungen wurden verworfen.");
    }
    if (ebene > 0) {
        try {
            for (const QString& sql : m_dialekt.sicherungspunktFreigeben(ebene)) steuerAnweisung(sql);
        } catch (const DbFehler&) {
            verwerfe();
            m_ebenen.last() = true;
            throw;
        }
        m_ebenen.removeLast();
        return;
    }
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    if (!db.commit()) {
        const QString t = fehlerText(db.lastError());
        db.rollback();
        m_ebenen.clear();
        throw DbFehler("Transaktion nicht abgeschlossen", t);
    }
    m_ebenen.clear();
}

void Datenbank::verwerfe() const noexcept {
    if (m_ebenen.isEmpty()) return;
    const int ebene = int(m_ebenen.size()) - 1;
    m_ebenen.removeLast();
    if (!istOffen()) {
        m_ebenen.clear();
        return;
    }
    try {
        if (ebene > 0) {
            for (const QString& sql : m_dialekt.sicherungspunktZurueck(ebene)) steuerAnweisung(sql);
        } else {
            QSqlDatabase::database(m_name, false).rollback();
        }
    } catch (...) {
        // Without its savepoint the level cannot be undone alone: the whole
        // transaction must not be committed any more.
        if (!m_ebenen.isEmpty()) m_ebenen.last() = true;
    }
}

Werte Datenbank::mitSuchspalten(const QString& tabelle, const Werte& werte) const {
    if (m_dialekt.fuelltSuchspalten()) return werte;
    Werte w = werte;
    for (const Suchspalte& s : suchspalten()) {
        if (s.tabelle.compare(tabelle, Qt::CaseInsensitive) != 0) continue;
        for (const auto& [spalte, wert] : werte)
            if (spalte.compare(s.quelle, Qt::CaseInsensitive) == 0)
                w.append({s.ziel, wert.isNull() ? QVariant() : QVariant(Dialekt::falte(wert.toString()))});
    }
    return w;
}

const QList<Datenbank::Suchspalte>& Datenbank::suchspalten() {
    static const QList<Suchspalte> s{
        {QStringLiteral("ortsnamen"), QStringLiteral("ort"), QStringLiteral("ort_suche")},
        {QStringLiteral("grundstuecke"), QStringLiteral("strassen_name"), QStringLiteral("strassen_name_suche")},
    };
    return s;
}

void Datenbank::folgeSuchspalten(const QString& tabelle) const {
    if (m_dialekt.fuelltSuchspalten()) return;
    for (const Suchspalte& s : suchspalten()) {
        if (s.tabelle.compare(tabelle, Qt::CaseInsensitive) != 0) continue;
        // The partial index of marked rows answers this at once when there are none.
        const QString markiert = "select id, " + s.quelle + " from " + s.tabelle + " where " + s.ziel +
                                 " is null and " + s.quelle + " is not null";
        try {
            if (abfrage(markiert).leer()) continue;
            Transaktion t(*this);
            const Recordset rs = abfrage(markiert);
            Anweisung a = vorbereite("update " + s.tabelle + " set " + s.ziel + " = ? where id = ?");
            for (const QSqlRecord& z : rs.zeilen())
                a.fuehreAus({Dialekt::falte(z.value(1).toString()), z.value(0)});
            t.bestaetige();
        } catch (const DbFehler&) {
            // Another program holds the file for writing: the rows stay marked
            // and are folded before the next search.
        }
    }
}

void Datenbank::sichereSqliteSuchspalten() const {
    try {
        for (const Suchspalte& s : suchspalten()) {
            const Tabelle* t = findeTabelle(s.tabelle);
            if (!t || !qt().record(s.tabelle).contains(s.ziel)) continue;
            if (wert("select count(*) from sqlite_master where type = 'index' and name = ?",
                     {Dialekt::markierteIndexName(s.tabelle, s.ziel)})
                    .toInt() > 0)
                continue;
            Transaktion tr(*this);
            for (const QString& sql : suchspaltenPflegeDdl(*t, m_dialekt)) ausfuehren(sql);
            // A one-off statement: talu_klein() is ours, but nothing stored in the file calls it.
            ausfuehren("update " + s.tabelle + " set " + s.ziel + " = talu_klein(" + s.quelle + ") where " + s.ziel +
                       " is not talu_klein(" + s.quelle + ")");
            tr.bestaetige();
        }
    } catch (const DbFehler&) {
        // A read-only file or a busy writer: the searches still work on what the file has.
    }
}

qint64 Datenbank::erneuereSuchspalten(const std::function<void(const QString&, qint64)>& fortschritt) const {
    qint64 gesamt = 0;
    for (const Suchspalte& s : suchspalten()) {
        const Tabelle* tab = findeTabelle(s.tabelle);
        const Spalte* sp = tab ? tab->spalte(s.ziel) : nullptr;
        const bool vorhanden = qt().record(s.tabelle).indexOf(s.ziel) >= 0;
        if (m_dialekt.fuelltSuchspalten()) {
            // The server computes the column; a plain one of an older version is replaced.
            if (vorhanden && wert(m_dialekt.generierteSpalteSql(), {s.tabelle, s.ziel}).toInt() > 0) continue;
            Transaktion t(*this);
            if (vorhanden) {
                if (tab)
                    for (const Index& i : tab->indexe)
                        if (i.ausdruecke.contains(s.ziel)) ausfuehren(m_dialekt.loescheIndex(i.name, s.tabelle));
                ausfuehren("alter table " + s.tabelle + " drop column " + s.ziel);
            }
            ausfuehren("alter table " + s.tabelle + " add " + s.ziel + " " +
                       m_dialekt.suchtextTyp(sp ? sp->laenge : 100, s.quelle));
            t.bestaetige();
            continue;
        }
        // Databases made before the column existed get it here.
        if (!vorhanden) ausfuehren("alter table " + s.tabelle + " add " + s.ziel + " " + m_dialekt.suchtextTyp(100, s.quelle));
        // The rows are read by id ranges, so the writes never run under an open read.
        constexpr int kStueck = 5000;
        qint64 abId = -1;
        for (;;) {
            Transaktion t(*this);
            const Recordset rs = abfrage(m_dialekt.begrenze("select id, " + s.quelle + " from " + s.tabelle +
                                                                " where id > ? order by id",
                                                            kStueck),
                                         {abId});
            if (rs.leer()) break;
            Anweisung a = vorbereite("update " + s.tabelle + " set " + s.ziel + " = ? where id = ?");
            for (const QSqlRecord& z : rs.zeilen()) {
                const QVariant wert = z.value(1);
                a.fuehreAus({wert.isNull() ? QVariant() : QVariant(Dialekt::falte(wert.toString())), z.value(0)});
                abId = z.value(0).toLongLong();
                ++gesamt;
            }
            t.bestaetige();
            if (fortschritt) fortschritt(s.tabelle, gesamt);
        }
    }
    // Indexes of an older program version were built on an expression; they
    // are replaced by the plain ones on the search columns.
    for (const Suchspalte& s : suchspalten()) {
        const Tabelle* t = findeTabelle(s.tabelle);
        if (!t) continue;
        Tabelle nur = *t;
        nur.indexe.clear();
        for (const Index& i : t->indexe)
            if (i.ausdruecke.contains(s.ziel)) nur.indexe << i;
        Transaktion tr(*this);
        for (const Index& i : nur.indexe) ausfuehren(m_dialekt.loescheIndex(i.name, s.tabelle));
        for (const QString& sql : indexDdl(nur, m_dialekt)) ausfuehren(sql);
        for (const QString& sql : suchspaltenPflegeDdl(nur, m_dialekt)) ausfuehren(sql);
        tr.bestaetige();
    }
    return gesamt;
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
