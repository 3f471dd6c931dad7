#include "billing/ProtokollAnsicht.h"

#include <QHash>
#include <algorithm>

#include "kit/Formate.h"
#include "billing/Bediener.h"

namespace talu::abrechnung {

namespace {
// Share of matching customers from which the log is read in date order.
constexpr double kBreiterAnteil = 0.05;
}  // namespace

const QList<RasterSpalte>& protokollSpalten() {
    static const QList<RasterSpalte> s{
        {QStringLiteral("datum"), QStringLiteral("Datum:"), 1500, true},
        {QStringLiteral("uhrzeit"), QStringLiteral("Uhrzeit:"), 1000, true},
        {QStringLiteral("name"), QStringLiteral("Benutzer"), 2000, true},
        {QStringLiteral("objekt"), QStringLiteral("Objekt:"), 8000, true},
        {QStringLiteral("db_benutzer"), {}, 0, false},
        {QStringLiteral("benutzername"), {}, 0, false},
        {QStringLiteral("id"), {}, 0, false},
    };
    return s;
}

namespace {

QString kundenTabelle(const Dialekt& d) {
    // PostgreSQL finds the customer of each log row through its index of the
    // folded login (a grouped subquery has none there, and with the grid's
    // order and limit the planner compared every row with every customer).
    if (d.backend() == Backend::PostgreSQL) return QStringLiteral("rechnungs_kunden");
    // Elsewhere the few customers are folded once, in a grouped (so never
    // merged) subquery that the engine can index for the join, instead of
    // once per pair of log row and customer.
    return QStringLiteral("(select name, benutzername, ") + d.ohneFall(QStringLiteral("benutzername")) +
           QStringLiteral(" as klein from rechnungs_kunden group by id, name, benutzername) rechnungs_kunden");
}

// The customer's folded login, as kundenTabelle() offers it.
QString kundeKlein(const Dialekt& d) {
    return d.backend() == Backend::PostgreSQL ? d.ohneFall(QStringLiteral("rechnungs_kunden.benutzername"))
                                              : QStringLiteral("rechnungs_kunden.klein");
}

QString filterBedingung(ProtokollModell::Filter f, const Dialekt& d) {
    switch (f) {
        case ProtokollModell::Filter::Alle: return {};
        case ProtokollModell::Filter::Heute: return QStringLiteral(" and datum = ?");
        case ProtokollModell::Filter::Name:
            return QStringLiteral(" and ") + d.likeOhneFall(QStringLiteral("rechnungs_kunden.name"));
        case ProtokollModell::Filter::Keiner: return QStringLiteral(" and 1 = 0");
    }
    return {};
}

const QString kOrdnung = QStringLiteral(" order by datum,db_benutzer,abfrageprotokoll.id");

// Users bound in one statement at most for the jump marks.
constexpr int kMaxListe = 5000;

// The rows of one filter, read page by page for the windowed grid.
class ProtokollQuelle : public FensterQuelle {
public:
    ProtokollQuelle(const Datenbank& db, ProtokollModell::Filter f, const Parameter& p, bool breit)
        : m_db(db), m_filter(f), m_parameter(p) {
        const QString s = ProtokollModell::sql(f, db.dialekt(), breit);
        m_rumpf = s.left(s.lastIndexOf(kOrdnung));
    }

    qint64 zaehle() const override {
        return m_db.wert(ProtokollModell::zaehlSql(m_filter, m_db.dialekt()), m_parameter).toLongLong();
    }

    Block lies(const Zeile* bezug, bool vorwaerts, qint64 ueberspringen, int n) const override {
        // Rows without a date sort first on SQLite and SQL Server, last on
        // PostgreSQL; descending, each engine gives exactly the reverse.
        const bool nullZuerst = m_db.dialekt().backend() != Backend::PostgreSQL;
        // The rows beside the key: a range of the date, so that the engine
        // starts its index there, and, where they lie on that side, the rows
        // of the other kind of date (with or without one).
        struct Teil {
            QString bedingung;
            Parameter werte;
        };
        QList<Teil> teile;
        if (!bezug) {
            teile << Teil{};
        } else {
            const QVariant datum = bezug->value(0), benutzer = bezug->value(4), id = bezug->value(6);
            const QString v = vorwaerts ? QStringLiteral(">") : QStringLiteral("<");
            const QString daneben = QStringLiteral("(db_benutzer %1 ? or (db_benutzer = ? and abfrageprotokoll.id %1 ?))").arg(v);
            if (datum.isNull()) {
                teile << Teil{QStringLiteral("datum is null and ") + daneben, {benutzer, benutzer, id}};
                if (vorwaerts == nullZuerst) teile << Teil{QStringLiteral("datum is not null"), {}};
            } else {
                teile << Teil{QStringLiteral("datum %1= ? and (datum %1 ? or ").arg(v) + daneben + QLatin1Char(')'),
                              {datum, datum, benutzer, benutzer, id}};
                if (vorwaerts != nullZuerst) teile << Teil{QStringLiteral("datum is null"), {}};
            }
        }
        const QString r = vorwaerts ? QString() : QStringLiteral(" desc");
        // PostgreSQL sorts a compound statement as a whole, every row after
        // the key; each part ordered and limited by itself reads only its
        // first rows along the log's index of the grid's order.
        const bool jeTeil = teile.size() > 1 && m_db.dialekt().backend() == Backend::PostgreSQL;
        QString s;
        Parameter p;
        for (int i = 0; i < teile.size(); ++i) {
            const Teil& t = teile.at(i);
            if (!s.isEmpty()) s += QStringLiteral(" union all ");
            if (jeTeil) s += QStringLiteral("select * from (");
            s += m_rumpf;
            p += m_parameter;
            if (!t.bedingung.isEmpty()) s += QStringLiteral(" and (") + t.bedingung + QLatin1Char(')');
            p += t.werte;
            if (jeTeil) {
                s += QStringLiteral(" order by datum%1,db_benutzer%1,abfrageprotokoll.id%1 limit ?) teil%2").arg(r).arg(i);
                p << ueberspringen + n;
            }
        }
        // A compound statement is ordered by its result's column names.
        s += teile.size() > 1 ? QStringLiteral(" order by datum%1,db_benutzer%1,id%1").arg(r)
                              : QStringLiteral(" order by datum%1,db_benutzer%1,abfrageprotokoll.id%1").arg(r);
        if (m_db.dialekt().backend() == Backend::SQLServer) {
            s += QStringLiteral(" offset ? rows fetch next ? rows only");
            p << ueberspringen << n;
        } else {
            s += QStringLiteral(" limit ? offset ?");
            p << n << ueberspringen;
        }

        // Through the connection's statements: prepared once, one round trip.
        Recordset rs;
        try {
            rs = m_db.abfrage(s, p);
        } catch (const DbFehler& f) {
            throw DbFehler(QStringLiteral("Das Abfrageprotokoll konnte nicht gelesen werden"), f.serverText(), s);
        }
        Block b;
        b.spalten = rs.kopf();
        const int spalten = b.spalten.count();
        b.zeilen.reserve(rs.anzahl());
        for (const QSqlRecord& r : rs.zeilen()) {
            Zeile z;
            z.reserve(spalten);
            for (int i = 0; i < spalten; ++i) z << r.value(i);
            b.zeilen << std::move(z);
        }
        if (!vorwaerts) std::reverse(b.zeilen.begin(), b.zeilen.end());
        return b;
    }

    // Where each date begins: the rows counted per date, through the
    // indexes of the log's date and user, never folding a row's user. The
    // few distinct users are matched to the customers (of the filter) once;
    // the dates are then counted for the smaller side, the matching users'
    // rows or all rows less the other users' ones. The rows of a date follow
    // the pseudo-row of that date with an empty user and id -1, which sorts
    // before them all. Without marks (one day only, or very many users) the
    // grid jumps by position.
    QList<Marke> marken() const override {
        if (m_filter == ProtokollModell::Filter::Heute) return {};
        const Dialekt& d = m_db.dialekt();
        // Rows per user, and how many customers each user matches.
        QHash<QString, qint64> jeBenutzer;
        qint64 ohneBenutzer = 0, alle = 0;
        QHash<QString, qint64> treffer;  // user -> customers matched
        const auto zaehleBenutzer = [&](const QSqlRecord& r) {
            const qint64 n = r.value(1).toLongLong();
            alle += n;
            if (r.value(0).isNull()) ohneBenutzer += n;
            else jeBenutzer.insert(r.value(0).toString(), n);
            return true;
        };
        if (d.backend() == Backend::PostgreSQL) {
            // One pass over the log: each user's customers through the index
            // of the folded login.
            m_db.durchlaufe(QStringLiteral("select benutzer.db_benutzer, benutzer.anzahl, (select count(*) from ") +
                                kundenTabelle(d) + QStringLiteral(" where ") +
                                d.ohneFall(QStringLiteral("benutzer.db_benutzer")) + QStringLiteral(" = ") +
                                kundeKlein(d) + filterBedingung(m_filter, d) +
                                QStringLiteral(") as kunden from (select db_benutzer, count(*) as anzahl from "
                                               "abfrageprotokoll group by db_benutzer) benutzer"),
                            m_parameter, [&](const QSqlRecord& r) {
                                zaehleBenutzer(r);
                                const qint64 kunden = r.value(2).toLongLong();
                                if (!r.value(0).isNull() && kunden > 0) treffer.insert(r.value(0).toString(), kunden);
                                return true;
                            });
        } else {
            m_db.durchlaufe(
                QStringLiteral("select db_benutzer, count(*) as anzahl from abfrageprotokoll group by db_benutzer"), {},
                zaehleBenutzer);
            m_db.durchlaufe(QStringLiteral("select benutzer.db_benutzer, count(*) as kunden from (select db_benutzer "
                                           "from abfrageprotokoll group by db_benutzer) benutzer, ") +
                                kundenTabelle(d) + QStringLiteral(" where ") +
                                d.ohneFall(QStringLiteral("benutzer.db_benutzer")) + QStringLiteral(" = ") +
                                kundeKlein(d) + filterBedingung(m_filter, d) +
                                QStringLiteral(" group by benutzer.db_benutzer"),
                            m_parameter, [&](const QSqlRecord& r) {
                                treffer.insert(r.value(0).toString(), r.value(1).toLongLong());
                                return true;
                            });
        }
        qint64 getroffen = 0;
        bool mehrfach = false;
        for (auto it = treffer.cbegin(); it != treffer.cend(); ++it) {
            getroffen += jeBenutzer.value(it.key());
            mehrfach = mehrfach || it.value() > 1;
        }
        const bool abziehen = !mehrfach && alle - getroffen < getroffen;
        Parameter liste;
        for (auto it = jeBenutzer.cbegin(); it != jeBenutzer.cend(); ++it)
            if (treffer.contains(it.key()) != abziehen) liste << it.key();
        if (liste.size() > kMaxListe) return {};
        const QString in = liste.isEmpty() ? QStringLiteral("null")
                                           : QStringLiteral("?") + QStringLiteral(", ?").repeated(int(liste.size()) - 1);
        const auto schluessel = [](const QVariant& v) { return v.isNull() ? QString() : v.toString(); };

        // The dates in the grid's order, with the rows to count at each.
        QList<QPair<QVariant, qint64>> tage;
        QHash<QString, int> tagIndex;
        QHash<QString, qint64> teil;
        if (abziehen) {
            m_db.durchlaufe(QStringLiteral("select datum, count(*) as anzahl from abfrageprotokoll group by datum order by datum"),
                            {}, [&](const QSqlRecord& r) {
                                tage << qMakePair(r.value(0), r.value(1).toLongLong());
                                return true;
                            });
            m_db.durchlaufe(QStringLiteral("select datum, count(*) as anzahl from abfrageprotokoll where db_benutzer in (") + in +
                                (ohneBenutzer > 0 ? QStringLiteral(") or db_benutzer is null") : QStringLiteral(")")) +
                                QStringLiteral(" group by datum"),
                            liste, [&](const QSqlRecord& r) {
                                teil.insert(schluessel(r.value(0)), r.value(1).toLongLong());
                                return true;
                            });
            for (auto& t : tage) t.second -= teil.value(schluessel(t.first));
        } else {
            m_db.durchlaufe(QStringLiteral("select datum, db_benutzer, count(*) as anzahl from abfrageprotokoll where "
                                           "db_benutzer in (") +
                                in + QStringLiteral(") group by datum, db_benutzer order by datum"),
                            liste, [&](const QSqlRecord& r) {
                                const QString k = schluessel(r.value(0));
                                if (!tagIndex.contains(k)) {
                                    tagIndex.insert(k, int(tage.size()));
                                    tage << qMakePair(r.value(0), qint64(0));
                                }
                                tage[tagIndex.value(k)].second += r.value(2).toLongLong() * treffer.value(r.value(1).toString());
                                return true;
                            });
        }
        QList<Marke> marken;
        qint64 position = 0;
        for (const auto& [datum, anzahl] : tage) {
            if (anzahl <= 0) continue;
            Zeile z(7);
            z[0] = datum;
            z[4] = QString(QLatin1String(""));
            z[6] = qint64(-1);
            marken << Marke{position, std::move(z)};
            position += anzahl;
        }
        return marken;
    }

private:
    const Datenbank& m_db;
    ProtokollModell::Filter m_filter;
    Parameter m_parameter;
    QString m_rumpf;  // the statement without its order
};

}  // namespace

ProtokollModell::ProtokollModell(const Datenbank& db, QObject* eltern) : FensterModell(eltern), m_db(db) {}

QString ProtokollModell::sql(Filter f, const Dialekt& d, bool breit) {
    // "cross join" is the same join; SQLite keeps its order, the log first.
    // A log user matches its customer whatever the letter case, umlauts
    // included, as in the invoice run.
    return QStringLiteral("select datum,uhrzeit,name,objekt,db_benutzer,benutzername,abfrageprotokoll.id from ") +
           (breit ? QStringLiteral("abfrageprotokoll cross join ") : QStringLiteral("abfrageprotokoll, ")) +
           kundenTabelle(d) + QStringLiteral(" where ") + d.ohneFall(QStringLiteral("abfrageprotokoll.db_benutzer")) +
           QStringLiteral(" = ") + kundeKlein(d) + filterBedingung(f, d) + kOrdnung;
}

QString ProtokollModell::zaehlSql(Filter f, const Dialekt& d) {
    // The log counted per user through its index, the few users then
    // matched to the customers: the same number as the rows of sql(), without
    // folding every log row's user.
    return QStringLiteral("select coalesce(sum(protokoll.anzahl), 0) as anzahl from (select db_benutzer, count(*) as "
                          "anzahl from abfrageprotokoll") +
           (f == Filter::Heute ? QStringLiteral(" where datum = ?") : QString()) +
           QStringLiteral(" group by db_benutzer) protokoll, ") + kundenTabelle(d) + QStringLiteral(" where ") +
           d.ohneFall(QStringLiteral("protokoll.db_benutzer")) + QStringLiteral(" = ") + kundeKlein(d) +
           (f == Filter::Name || f == Filter::Keiner ? filterBedingung(f, d) : QString());
}

void ProtokollModell::setze(Filter f, const Parameter& p, bool breit) {
    // A failed filter keeps the rows shown.
    setzeQuelle(std::make_unique<ProtokollQuelle>(m_db, f, p, breit));
    m_filter = f;
}

void ProtokollModell::zeigeAlle() { setze(Filter::Alle, {}); }

void ProtokollModell::zeigeHeute(const QDate& heute) { setze(Filter::Heute, {heute}); }

void ProtokollModell::zeigeNamensAnfang(const QString& anfang) {
    if (!Dialekt::suchbar(anfang)) {
        setze(Filter::Keiner, {});
        return;
    }
    const QString muster = Dialekt::beginntMit(anfang);
    // How many of the customers match decides the cheaper road: their rows
    // sorted when few match, the log in date order when many do.
    const Recordset anteil = m_db.abfrage(
        "select count(*) as alle, sum(case when " + m_db.dialekt().likeOhneFall(QStringLiteral("name")) +
            " then 1 else 0 end) as treffer from rechnungs_kunden",
        {muster});
    const double alle = anteil.zahl(QStringLiteral("alle"));
    const bool breit = alle > 0 && anteil.zahl(QStringLiteral("treffer")) / alle > kBreiterAnteil;
    setze(Filter::Name, {muster}, breit);
}

QString ProtokollModell::namensFrage() {
    return QStringLiteral("Geben Sie bitte den Anfang des Kunden-Namens ein!");
}

bool ProtokollModell::frageNachName(Bediener& bediener) {
    const QString anfang = bediener.eingabe(namensFrage());
    if (anfang.isEmpty()) return false;
    zeigeNamensAnfang(anfang);
    return true;
}

QVariant ProtokollModell::data(const QModelIndex& index, int rolle) const {
    const QVariant v = FensterModell::data(index, rolle);
    // The date column reads back as a date or as ISO text, by backend.
    if (rolle == Qt::DisplayRole && index.column() == 0 && !v.isNull()) return datumText(alsDatum(v));
    return v;
}

QVariant ProtokollModell::headerData(int abschnitt, Qt::Orientation richtung, int rolle) const {
    if (richtung == Qt::Horizontal && rolle == Qt::DisplayRole && abschnitt >= 0 && abschnitt < columnCount() &&
        abschnitt < protokollSpalten().size() && !protokollSpalten().at(abschnitt).titel.isEmpty())
        return protokollSpalten().at(abschnitt).titel;
    return FensterModell::headerData(abschnitt, richtung, rolle);
}

}  // namespace talu::abrechnung
