#include "market/DmUmrechnung.h"

#include <QSqlRecord>

#include "db/Datenbank.h"
#include "market/MarktDaten.h"

namespace talu::markt {

DmUmrechnung::DmUmrechnung(QString tabelle) : m_tabelle(std::move(tabelle)) {}

QString DmUmrechnung::titel() const { return QStringLiteral("DM-Beträge umrechnen"); }

void DmUmrechnung::fuehreAus(stapel::Kontext& k) {
    const Datenbank& db = k.db();
    const Kategorie* kat = kategorie(m_tabelle);
    if (!kat)
        throw DbFehler("Unbekannte Marktübersicht", "Die Tabelle \"" + m_tabelle + "\" ist keine Marktübersicht.");
    const QSqlRecord kopf = db.qt().record(kat->tabelle);
    auto hat = [&](const QString& s) { return kopf.indexOf(s) >= 0; };

    // Pairs of euro column and its former DM column.
    QList<QPair<QString, QString>> paare;
    if (hat("geldumsatz_in_mio_euro") && hat("geldumsatz_in_mio_dm")) {
        paare << qMakePair(QStringLiteral("geldumsatz_in_mio_euro"), QStringLiteral("geldumsatz_in_mio_dm"));
    } else {
        for (const QString& s : {QStringLiteral("minimal"), QStringLiteral("durchschnitt"), QStringLiteral("maximal")})
            if (hat(s) && hat(s + "_dm")) paare << qMakePair(s, s + "_dm");
        if (paare.size() != 3) paare.clear();
    }
    m_ergebnis = {};
    if (paare.isEmpty()) return;
    m_ergebnis.hatDmSpalten = true;

    QStringList spalten{"id"}, setzen;
    for (const auto& [euro, dm] : paare) {
        spalten << euro << dm;
        setzen << euro + " = ?";
    }
    const qint64 gesamt = db.wert("select count(*) from " + kat->tabelle).toLongLong();
    // The rows are read page by page, so no read is open while the same connection writes.
    Anweisung aendern = db.vorbereite("update " + kat->tabelle + " set " + setzen.join(", ") + " where id = ?");
    qint64 gelesen = 0;
    stapel::seitenweise(db, "select " + spalten.join(',') + " from " + kat->tabelle, {}, 2000,
                        [&](const QSqlRecord& r) {
        k.pruefeAbbruch();
        k.melde(++gelesen, gesamt, titel());
        QList<QVariant> neu;
        bool irgendeinEuro = false;
        for (const auto& [euro, dm] : paare) {
            neu << r.value(euro);
            irgendeinEuro = irgendeinEuro || istPositiv(r.value(euro));
        }
        // Only rows without any euro amount are taken over from DM.
        if (!irgendeinEuro) {
            for (int i = 0; i < paare.size(); ++i) {
                const QVariant dm = r.value(paare[i].second);
                bool ok = false;
                const double d = dm.toDouble(&ok);
                if (!dm.isNull() && ok) neu[i] = d / DmJeEuro;
            }
        }
        for (QVariant& v : neu)
            if (istNullWert(v)) v = nullZahl();
        bool anders = false;
        for (int i = 0; i < paare.size(); ++i)
            if (!gleich(neu[i], r.value(paare[i].first)) || (neu[i].isNull() != r.value(paare[i].first).isNull()))
                anders = true;
        if (!anders) return;
        Parameter werte;
        for (const QVariant& v : neu) werte << (v.isNull() ? nullZahl() : QVariant(v.toDouble()));
        werte << r.value("id");
        aendern.fuehreAus(werte);
        ++m_ergebnis.geaendert;
    });
}

Umrechnung rechneDmUm(const Datenbank& db, const QString& tabelle, stapel::Anzeige* anzeige) {
    DmUmrechnung auftrag(tabelle);
    stapel::AnzeigeFunktion still({});
    const stapel::Ergebnis e = stapel::fuehreAus(auftrag, db, anzeige ? *anzeige : still);
    if (e.status == stapel::Ergebnis::Status::Fehler) throw DbFehler(e.meldung, e.serverText);
    if (e.status == stapel::Ergebnis::Status::Abgebrochen) {
        Umrechnung u;
        u.abgebrochen = true;
        return u;
    }
    return auftrag.ergebnis();
}

}  // namespace talu::markt
