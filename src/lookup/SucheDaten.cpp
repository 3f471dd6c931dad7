#include "lookup/SucheDaten.h"

#include "db/Datenbank.h"

namespace talu {

namespace {
const QString kOrtReihenfolge = QStringLiteral(" order by plzneu, ort, id");
}

bool SucheDaten::istNumerisch(const QString& begriff) {
    if (begriff.isEmpty()) return false;
    for (const QChar c : begriff)
        if (c < '0' || c > '9') return false;
    return true;
}

Recordset SucheDaten::sucheOrt(const QString& begriff, Stufe* stufe) const {
    if (!Dialekt::suchbar(begriff)) {
        if (stufe) *stufe = Stufe::Keine;
        return {};
    }
    const Dialekt& d = m_db.dialekt();
    m_db.folgeSuchspalten(QStringLiteral("ortsnamen"));
    QString bedingung;
    QVariant wert = begriff;
    if (!istNumerisch(begriff)) {
        bedingung = d.suchGleich("ort_suche");
        wert = Dialekt::falte(begriff);
    }
    else if (begriff.size() == 5)
        bedingung = QStringLiteral("plzneu = ?");
    else
        bedingung = QStringLiteral("gemeindeschluessel = ?");

    const QString sql = "select * from ortsnamen where %1 and typ < ?" + kOrtReihenfolge;
    Recordset rs = m_db.abfrage(sql.arg(bedingung), {wert, 3});
    if (stufe) *stufe = Stufe::Genau;
    if (rs.leer()) {
        rs = m_db.abfrage(sql.arg(d.suchLike("ort_suche")), {Dialekt::beginntMit(Dialekt::falte(begriff)), 3});
        if (stufe) *stufe = Stufe::Anfang;
    }
    if (rs.leer()) {
        rs = m_db.abfrage(sql.arg(d.suchLike("ort_suche")), {Dialekt::enthaelt(Dialekt::falte(begriff)), 3});
        if (stufe) *stufe = Stufe::Teil;
    }
    if (rs.leer() && stufe) *stufe = Stufe::Keine;
    rs.moveFirst();
    return rs;
}

QString SucheDaten::strassenSql(const Dialekt& d) {
    // A missing town district sorts like an empty one on every backend.
    return "select * from grundstuecke where gemeindeschluessel = ? and " + d.suchLike("strassen_name_suche") +
           " and loeschen = ? order by coalesce(ortsteil, ''), strassen_name, hausnummer_numerisch, "
           "hausnummer, id";
}

Recordset SucheDaten::sucheStrasse(const QString& gemeindeschluessel, const QString& strasse) const {
    if (!Dialekt::suchbar(strasse)) return {};
    m_db.folgeSuchspalten(QStringLiteral("grundstuecke"));
    Recordset rs = m_db.abfrage(strassenSql(m_db.dialekt()), {gemeindeschluessel,
                                                              Dialekt::beginntMit(Dialekt::falte(strasse)),
                                      QStringLiteral("nein")});
    rs.moveFirst();
    return rs;
}

Recordset SucheDaten::sucheOrtFuerNeuesGrundstueck(const QString& begriff) const {
    if (!Dialekt::suchbar(begriff)) return {};
    const bool nummer = istNumerisch(begriff);
    if (!nummer) m_db.folgeSuchspalten(QStringLiteral("ortsnamen"));
    const QString bedingung = nummer ? QStringLiteral("plzneu like ? escape '\\'") : m_db.dialekt().suchLike("ort_suche");
    Recordset rs = m_db.abfrage("select * from ortsnamen where " + bedingung + " and typ <= ?" +
                                    kOrtReihenfolge,
                                {Dialekt::beginntMit(nummer ? begriff : Dialekt::falte(begriff)), 2});
    rs.moveFirst();
    return rs;
}

Recordset SucheDaten::ortNachId(qint64 id) const {
    Recordset rs = m_db.abfrage(QStringLiteral("select * from ortsnamen where id = ?"), {id});
    rs.moveFirst();
    return rs;
}

Recordset SucheDaten::grundstueckNachId(qint64 id) const {
    Recordset rs = m_db.abfrage(QStringLiteral("select * from grundstuecke where id = ?"), {id});
    rs.moveFirst();
    return rs;
}

namespace {
const QString kOrtNachSchluessel = QStringLiteral(
    "select * from ortsnamen where gemeindeschluessel = ? order by case when id = ? then 0 else 1 end, id");
}

Recordset SucheDaten::ortNachSchluessel(const QString& gemeindeschluessel, qint64 bevorzugteId) const {
    Recordset rs = m_db.abfrage(kOrtNachSchluessel, {gemeindeschluessel, bevorzugteId});
    rs.moveFirst();
    return rs;
}

Recordset SucheDaten::grundstueckMitOrt(qint64 id, const QString& gemeindeschluessel, qint64 bevorzugteId,
                                        Recordset* ort) const {
    QList<Recordset> rs = m_db.abfragen({{QStringLiteral("select * from grundstuecke where id = ?"), {id}},
                                         {kOrtNachSchluessel, {gemeindeschluessel, bevorzugteId}}});
    rs[0].moveFirst();
    rs[1].moveFirst();
    if (ort) *ort = rs[1];
    return rs[0];
}

}  // namespace talu
