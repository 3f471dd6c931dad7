#include "db/PgDirekt.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QSqlField>
#include <QTime>
#include <QTimeZone>
#include <cmath>
#include <libpq-fe.h>
#include <vector>

namespace talu {

namespace {
// Type OIDs of the server's catalogue (pg_type.h is not among libpq's headers).
constexpr unsigned kBool = 16, kByteA = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kRegProc = 24, kOid = 26,
                   kXid = 28, kCid = 29, kFloat4 = 700, kFloat8 = 701, kAbsTime = 702, kRelTime = 703,
                   kDate = 1082, kTime = 1083, kTimestamp = 1114, kTimestampTz = 1184, kTimeTz = 1266,
                   kNumeric = 1700, kBit = 1560, kVarBit = 1562;
constexpr int kVarHdrSz = 4;

QString text(const char* s) { return QString::fromUtf8(s ? s : "").trimmed(); }
}  // namespace

bool PgFehler::veralteterPlan() const {
    // The server keeps the plan of a named statement; a table whose columns
    // changed since makes it refuse the statement once: prepare it anew.
    return sqlstate == "0A000" && text.contains(QLatin1String("cached plan"));
}

QMetaType pgQtTyp(unsigned oid) {
    switch (oid) {
        case kBool: return QMetaType(QMetaType::Bool);
        case kInt8: return QMetaType(QMetaType::LongLong);
        case kInt2:
        case kInt4:
        case kOid:
        case kRegProc:
        case kXid:
        case kCid: return QMetaType(QMetaType::Int);
        case kNumeric:
        case kFloat4:
        case kFloat8: return QMetaType(QMetaType::Double);
        case kAbsTime:
        case kRelTime:
        case kDate: return QMetaType(QMetaType::QDate);
        case kTime:
        case kTimeTz: return QMetaType(QMetaType::QTime);
        case kTimestamp:
        case kTimestampTz: return QMetaType(QMetaType::QDateTime);
        case kByteA: return QMetaType(QMetaType::QByteArray);
        default: return QMetaType(QMetaType::QString);
    }
}

QVariant pgWert(const char* val, unsigned oid) {
    const QMetaType typ = pgQtTyp(oid);
    switch (typ.id()) {
        case QMetaType::Bool: return QVariant(bool(val[0] == 't'));
        case QMetaType::QString: return QString::fromUtf8(val);
        case QMetaType::LongLong:
            if (val[0] == '-') return QByteArray::fromRawData(val, qstrlen(val)).toLongLong();
            return QByteArray::fromRawData(val, qstrlen(val)).toULongLong();
        case QMetaType::Int: return atoi(val);
        case QMetaType::Double: {
            bool ok = false;
            double d = QByteArray::fromRawData(val, qstrlen(val)).toDouble(&ok);
            if (!ok) {
                if (qstricmp(val, "NaN") == 0) d = qQNaN();
                else if (qstricmp(val, "Infinity") == 0) d = qInf();
                else if (qstricmp(val, "-Infinity") == 0) d = -qInf();
                else return QVariant();
            }
            return QVariant(d);
        }
        case QMetaType::QDate: return QVariant(QDate::fromString(QString::fromLatin1(val), Qt::ISODate));
        case QMetaType::QTime: return QVariant(QTime::fromString(QString::fromLatin1(val), Qt::ISODate));
        case QMetaType::QDateTime: {
            const QString s = QString::fromLatin1(val);
            const QString zeit = s.mid(11);
            if (zeit.contains(u'-') || zeit.contains(u'+') || zeit.endsWith(u'Z'))
                return QDateTime::fromString(s, Qt::ISODate);
            return QVariant(QDateTime::fromString(s + u'Z', Qt::ISODate));
        }
        case QMetaType::QByteArray: {
            size_t len = 0;
            unsigned char* data = PQunescapeBytea(reinterpret_cast<const unsigned char*>(val), &len);
            QByteArray ba(reinterpret_cast<const char*>(data), qsizetype(len));
            PQfreemem(data);
            return QVariant(ba);
        }
        default: return QVariant();
    }
}

QByteArray PgSitzung::mitNummern(const QString& sql) {
    // As Qt's driver numbers them: "?" outside quoted texts and names.
    QString r;
    r.reserve(sql.size() + 16);
    QChar zu;
    int n = 0;
    for (const QChar c : sql) {
        if (!zu.isNull()) {
            if (c == zu) zu = QChar();
            r += c;
        } else if (c == u'?') {
            r += u'$' + QString::number(++n);
        } else {
            if (c == u'\'' || c == u'"' || c == u'`') zu = c;
            r += c;
        }
    }
    return r.toUtf8();
}

bool PgSitzung::alsText(const QVariant& v, QByteArray& t) {
    // Null as Qt's drivers bind it: a null variant, a null text, an invalid date or time.
    if (v.isNull()) return false;
    switch (v.typeId()) {
        case QMetaType::QString: {
            const QString* s = static_cast<const QString*>(v.constData());
            if (s->isNull()) return false;
            t = s->toUtf8();
            return true;
        }
        case QMetaType::QByteArray: {
            const QByteArray* b = static_cast<const QByteArray*>(v.constData());
            if (b->isNull()) return false;
            t = "\\x" + b->toHex();
            return true;
        }
        case QMetaType::Bool: t = v.toBool() ? "true" : "false"; return true;
        case QMetaType::Double:
        case QMetaType::Float: {
            const double d = v.toDouble();
            if (std::isinf(d)) t = d < 0 ? "-Infinity" : "Infinity";
            else if (std::isnan(d)) t = "NaN";
            // Whole numbers without an exponent ("1e+06" is no integer to the
            // server), so that a whole double fits an integer column.
            else if (d == std::trunc(d) && std::fabs(d) < 9007199254740992.0) t = QByteArray::number(qint64(d));
            else t = QString::number(d, 'g', QLocale::FloatingPointShortest).toLatin1();
            return true;
        }
        case QMetaType::QDate: {
            const QDate d = v.toDate();
            if (!d.isValid()) return false;
            t = d.toString(Qt::ISODate).toLatin1();
            return true;
        }
        case QMetaType::QTime: {
            const QTime z = v.toTime();
            if (!z.isValid()) return false;
            t = z.toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1();
            return true;
        }
        case QMetaType::QDateTime: {
            const QDateTime dt = v.toDateTime();
            if (!dt.isValid()) return false;
            t = QLocale::c().toString(dt.toUTC(), QStringLiteral("yyyy-MM-ddThh:mm:ss.zzz")).toLatin1() + 'Z';
            return true;
        }
        default: t = v.toString().toUtf8(); return true;
    }
}

void PgSitzung::leereAnstehendes() {
    // A forward-only read of Qt's driver may still have rows on the link; it
    // gives them up as its own next statement would (Qt discards them too).
    if (PQpipelineStatus(m_pg) != PQ_PIPELINE_OFF) {
        while (PGresult* r = PQgetResult(m_pg)) PQclear(r);
        PQexitPipelineMode(m_pg);
    }
    if (PQtransactionStatus(m_pg) == PQTRANS_ACTIVE)
        while (PGresult* r = PQgetResult(m_pg)) PQclear(r);
}

PgFehler PgSitzung::fehlerAus(PGresult* r, int anfrage) const {
    PgFehler f;
    f.anfrage = anfrage;
    const char* state = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    f.sqlstate = state ? QByteArray(state) : QByteArray();
    QString t = text(r ? PQresultErrorMessage(r) : nullptr);
    if (t.isEmpty()) t = text(PQerrorMessage(m_pg));
    if (!f.sqlstate.isEmpty()) t += QStringLiteral("(%1)").arg(QString::fromLatin1(f.sqlstate));
    f.text = t;
    f.verbindungWeg = PQstatus(m_pg) == CONNECTION_BAD;
    return f;
}

PgFehler PgSitzung::verbindungsFehler() const {
    PgFehler f;
    f.text = text(PQerrorMessage(m_pg));
    if (f.text.isEmpty()) f.text = QStringLiteral("Die Verbindung zum Server ist unterbrochen.");
    f.verbindungWeg = PQstatus(m_pg) == CONNECTION_BAD;
    return f;
}

QSqlRecord PgSitzung::kopfVon(PGresult* r) const {
    QSqlRecord kopf;
    const int n = PQnfields(r);
    for (int i = 0; i < n; ++i) {
        const unsigned typ = PQftype(r, i);
        QSqlField f(QString::fromUtf8(PQfname(r, i)), pgQtTyp(typ));
        f.setValue(QVariant(f.metaType()));
        int len = PQfsize(r, i);
        int precision = PQfmod(r, i);
        switch (typ) {
            case kTimestamp:
            case kTimestampTz: precision = 3; break;
            case kNumeric:
                if (precision != -1) {
                    len = precision >> 16;
                    precision = (precision - kVarHdrSz) & 0xffff;
                }
                break;
            case kBit:
            case kVarBit:
                len = precision;
                precision = -1;
                break;
            default:
                if (len == -1 && precision >= kVarHdrSz) {
                    len = precision - kVarHdrSz;
                    precision = -1;
                }
        }
        f.setLength(len);
        f.setPrecision(precision);
        kopf.append(f);
    }
    return kopf;
}

void PgSitzung::leseZeilen(PGresult* r, const QSqlRecord& kopf, QVector<QSqlRecord>& zeilen) const {
    const int n = PQntuples(r), spalten = PQnfields(r);
    zeilen.reserve(zeilen.size() + n);
    std::vector<unsigned> typen(spalten);
    for (int c = 0; c < spalten; ++c) typen[c] = PQftype(r, c);
    for (int z = 0; z < n; ++z) {
        QSqlRecord rec = kopf;
        for (int c = 0; c < spalten; ++c)
            if (!PQgetisnull(r, z, c)) rec.setValue(c, pgWert(PQgetvalue(r, z, c), typen[c]));
        zeilen.append(std::move(rec));
    }
}

bool PgSitzung::fuehreAus(const QStringList& steuerung, const QList<Anfrage>& anfragen, QList<PgErgebnis>& ergebnisse,
                          PgFehler* fehler) {
    ergebnisse.clear();
    leereAnstehendes();
    if (PQstatus(m_pg) == CONNECTION_BAD || PQenterPipelineMode(m_pg) != 1) {
        if (fehler) *fehler = verbindungsFehler();
        return false;
    }
    // What was sent, in order: its answer belongs to it.
    struct Schritt {
        int anfrage;  // -1: control statement
        bool vorbereitung;
        QString sql;
    };
    QList<Schritt> schritte;
    bool gesendet = true;
    // The control statements first (a ROLLBACK that ends an aborted
    // transaction), then the statements that are prepared anew let go.
    QStringList vorweg = steuerung;
    for (const QByteArray& name : std::as_const(m_freizugeben)) vorweg << "deallocate " + QString::fromLatin1(name);
    m_freizugeben.clear();
    for (const QString& s : std::as_const(vorweg)) {
        gesendet = gesendet && PQsendQueryParams(m_pg, s.toUtf8().constData(), 0, nullptr, nullptr, nullptr, nullptr, 0) == 1;
        schritte.append({-1, false, s});
    }
    ergebnisse.resize(anfragen.size());
    for (int i = 0; i < anfragen.size() && gesendet; ++i) {
        const Anfrage& a = anfragen[i];
        QByteArray name = m_namen.value(a.sql);
        if (name.isEmpty()) {
            name = "talu_" + QByteArray::number(++m_naechsteNummer);
            gesendet = PQsendPrepare(m_pg, name.constData(), mitNummern(a.sql).constData(), 0, nullptr) == 1;
            m_namen.insert(a.sql, name);
            ++m_vorbereitungen;
            schritte.append({i, true, a.sql});
        }
        std::vector<QByteArray> texte(a.werte.size());
        std::vector<const char*> werte(a.werte.size(), nullptr);
        for (int w = 0; w < a.werte.size(); ++w)
            if (alsText(a.werte[w], texte[w])) werte[w] = texte[w].constData();
        gesendet = gesendet && PQsendQueryPrepared(m_pg, name.constData(), int(werte.size()), werte.data(), nullptr,
                                                   nullptr, 0) == 1;
        schritte.append({i, false, a.sql});
    }
    gesendet = gesendet && PQpipelineSync(m_pg) == 1;
    ++m_rundreisen;

    bool ok = gesendet;
    PgFehler erster;
    if (!gesendet) erster = verbindungsFehler();
    // The answers: one result and a null per statement, then the Sync's.
    for (const Schritt& s : std::as_const(schritte)) {
        if (!gesendet) break;
        PGresult* r = PQgetResult(m_pg);
        if (!r) {
            if (ok) erster = verbindungsFehler();
            ok = false;
            gesendet = false;
            break;
        }
        ExecStatusType st = PQresultStatus(r);
        // libpq keeps the single-row mode of a streamed read for the first
        // statement of the next pipeline: its rows then come one by one.
        while (st == PGRES_SINGLE_TUPLE) {
            if (s.anfrage >= 0 && !s.vorbereitung) {
                PgErgebnis& e = ergebnisse[s.anfrage];
                if (e.kopf.isEmpty()) e.kopf = kopfVon(r);
                leseZeilen(r, e.kopf, e.zeilen);
            }
            PQclear(r);
            r = PQgetResult(m_pg);
            st = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
        }
        if (!r) {
            if (ok) erster = verbindungsFehler();
            ok = false;
            gesendet = false;
            break;
        }
        if (st == PGRES_TUPLES_OK || st == PGRES_COMMAND_OK) {
            if (s.anfrage >= 0 && !s.vorbereitung) {
                PgErgebnis& e = ergebnisse[s.anfrage];
                if (st == PGRES_TUPLES_OK) {
                    if (e.kopf.isEmpty()) e.kopf = kopfVon(r);
                    leseZeilen(r, e.kopf, e.zeilen);
                }
                e.betroffen = QByteArray(PQcmdTuples(r)).toInt();
            }
        } else {
            if (ok) erster = fehlerAus(r, s.anfrage);
            ok = false;
            // A statement whose preparation failed or never ran is not prepared.
            if (s.vorbereitung) m_namen.remove(s.sql);
        }
        PQclear(r);
        while (PGresult* rest = PQgetResult(m_pg)) PQclear(rest);
    }
    if (gesendet) {
        PGresult* r = PQgetResult(m_pg);
        if (!r || PQresultStatus(r) != PGRES_PIPELINE_SYNC) {
            if (ok) erster = r ? fehlerAus(r, -1) : verbindungsFehler();
            ok = false;
        }
        if (r) PQclear(r);
    }
    if (PQexitPipelineMode(m_pg) != 1) {
        while (PGresult* r = PQgetResult(m_pg)) PQclear(r);
        PQexitPipelineMode(m_pg);
    }
    if (!ok) {
        if (PQstatus(m_pg) == CONNECTION_BAD) {
            erster.verbindungWeg = true;
            m_namen.clear();
        }
        if (fehler) *fehler = erster;
    }
    return ok;
}

bool PgSitzung::fuehreEinfachAus(const QString& sql, PgErgebnis& e, PgFehler* fehler) {
    leereAnstehendes();
    PGresult* r = PQexec(m_pg, sql.toUtf8().constData());
    ++m_rundreisen;
    const ExecStatusType st = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    if (st != PGRES_TUPLES_OK && st != PGRES_COMMAND_OK) {
        if (fehler) *fehler = r ? fehlerAus(r, 0) : verbindungsFehler();
        if (fehler && PQstatus(m_pg) == CONNECTION_BAD) fehler->verbindungWeg = true;
        if (r) PQclear(r);
        if (PQstatus(m_pg) == CONNECTION_BAD) m_namen.clear();
        return false;
    }
    e = PgErgebnis();
    if (st == PGRES_TUPLES_OK) {
        e.kopf = kopfVon(r);
        leseZeilen(r, e.kopf, e.zeilen);
    }
    e.betroffen = QByteArray(PQcmdTuples(r)).toInt();
    PQclear(r);
    return true;
}

bool PgSitzung::durchlaufe(const Anfrage& a, const std::function<bool(const QSqlRecord&)>& zeile, PgFehler* fehler,
                           bool* begonnen) {
    if (begonnen) *begonnen = false;
    leereAnstehendes();
    QByteArray name = m_namen.value(a.sql);
    if (name.isEmpty()) {
        name = "talu_" + QByteArray::number(++m_naechsteNummer);
        PGresult* r = PQprepare(m_pg, name.constData(), mitNummern(a.sql).constData(), 0, nullptr);
        ++m_rundreisen;
        ++m_vorbereitungen;
        if (!r || PQresultStatus(r) != PGRES_COMMAND_OK) {
            if (fehler) *fehler = r ? fehlerAus(r, 0) : verbindungsFehler();
            if (r) PQclear(r);
            return false;
        }
        PQclear(r);
        m_namen.insert(a.sql, name);
    }
    std::vector<QByteArray> texte(a.werte.size());
    std::vector<const char*> werte(a.werte.size(), nullptr);
    for (int w = 0; w < a.werte.size(); ++w)
        if (alsText(a.werte[w], texte[w])) werte[w] = texte[w].constData();
    if (PQsendQueryPrepared(m_pg, name.constData(), int(werte.size()), werte.data(), nullptr, nullptr, 0) != 1) {
        if (fehler) *fehler = verbindungsFehler();
        return false;
    }
    ++m_rundreisen;
    PQsetSingleRowMode(m_pg);
    QSqlRecord kopf;
    bool weiter = true, ok = true;
    for (;;) {
        PGresult* r = PQgetResult(m_pg);
        if (!r) break;
        const ExecStatusType st = PQresultStatus(r);
        if (st == PGRES_SINGLE_TUPLE || st == PGRES_TUPLES_OK) {
            if (begonnen) *begonnen = true;
            if (weiter && PQntuples(r) > 0) {
                if (kopf.isEmpty()) kopf = kopfVon(r);
                QVector<QSqlRecord> z;
                leseZeilen(r, kopf, z);
                for (const QSqlRecord& rec : std::as_const(z))
                    if (weiter) weiter = zeile(rec);
            }
        } else if (st != PGRES_COMMAND_OK) {
            if (ok && fehler) *fehler = fehlerAus(r, 0);
            ok = false;
        }
        PQclear(r);
        // The callback stopped: the rest of the rows are read and dropped.
    }
    if (!ok && PQstatus(m_pg) == CONNECTION_BAD) {
        if (fehler) fehler->verbindungWeg = true;
        m_namen.clear();
    }
    return ok;
}

void PgSitzung::vergiss(const QString& sql) {
    const QByteArray name = m_namen.take(sql);
    if (!name.isEmpty()) m_freizugeben << name;
}

}  // namespace talu
