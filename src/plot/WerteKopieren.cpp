#include "plot/WerteKopieren.h"

#include <QSqlRecord>

#include "db/Datenbank.h"
#include "lookup/SucheDaten.h"

namespace talu {

void WerteKopierenAuftrag::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Recordset quelle = SucheDaten(db).grundstueckNachId(m_quelleId);
    if (quelle.eof()) return;
    const QStringList spalten = GrundstueckDaten::kopierSpalten(m_bereich);
    const GrundstueckDaten::Auswahl a = GrundstueckDaten::auswahlVon(db, quelle, m_bereich);

    QList<qint64> ids;
    db.durchlaufe("select id from grundstuecke where " + a.bedingung + " order by id", a.werte,
                  [&](const QSqlRecord& r) {
                      ids << r.value(0).toLongLong();
                      return true;
                  });
    Parameter neu;
    QStringList zuweisungen;
    for (const QString& s : spalten) {
        zuweisungen << s + " = ?";
        neu << quelle.feld(s);
    }
    // Kept by the job, so that it is released only after the runner has
    // ended the transaction, also when a row failed.
    m_update = db.vorbereite("update grundstuecke set " + zuweisungen.join(", ") + " where " +
                                     a.bedingung + " and id >= ? and id <= ?");
    for (qsizetype i = 0; i < ids.size(); i += m_stueck) {
        const qsizetype bis = qMin(ids.size(), i + m_stueck) - 1;
        m_anzahl += m_update.fuehreAus(neu + a.werte + Parameter{ids[i], ids[bis]});
        k.melde(m_anzahl, ids.size());
    }
}

stapel::Ergebnis kopiereWerte(const Datenbank& db, qint64 quelleId, GrundstueckDaten::Bereich bereich,
                              stapel::Anzeige& anzeige, qint64* anzahl, int stueck) {
    WerteKopierenAuftrag auftrag(quelleId, bereich, stueck);
    stapel::Ergebnis e = stapel::fuehreAus(auftrag, db, anzeige);
    *anzahl = e.status == stapel::Ergebnis::Status::Fertig ? auftrag.anzahl() : 0;
    return e;
}

}  // namespace talu
