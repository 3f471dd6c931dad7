#include "plot/GrundstueckDaten.h"

#include "db/Datenbank.h"
#include "lookup/SucheDaten.h"

namespace talu {

QString GrundstueckDaten::nachbarSql() {
    // Plots marked as deleted are no neighbours: the street search hides them too.
    return QStringLiteral("select * from grundstuecke where gemeindeschluessel = ? and strassen_name = ? "
                          "and hausnummer = ? and loeschen = ? order by id");
}

Recordset GrundstueckDaten::nachHausnummer(const QString& gemeindeschluessel, const QString& strasse,
                                           const QString& hausnummer) const {
    Recordset rs = m_db.abfrage(nachbarSql(), {gemeindeschluessel, strasse, hausnummer, QStringLiteral("nein")});
    rs.moveFirst();
    return rs;
}

qint64 GrundstueckDaten::speichere(qint64 id, const Werte& werte) const {
    if (id == 0) return m_db.einfuegen(QStringLiteral("grundstuecke"), werte);
    if (m_db.aendern(QStringLiteral("grundstuecke"), id, werte) == 0)
        throw DbFehler(QStringLiteral("Grundstück nicht gefunden"),
                       QStringLiteral("Das Grundstück (Nr. %1) ist nicht mehr in der Datenbank; es wurde "
                                      "inzwischen gelöscht. Die Änderungen wurden nicht gespeichert.")
                           .arg(id));
    return id;
}

QStringList GrundstueckDaten::kopierSpalten(Bereich bereich) {
    QStringList s = {"richtwert_minimal", "richtwert_durchschnitt", "richtwert_maximal", "richtwert_tatsaechlich",
                     "bauliche_nutzung", "entwicklungszustand", "bauweise", "geschossflaechenzahl",
                     "anzahl_der_geschosse", "beitragspflichtig", "grundstueckstiefe", "grundstuecksflaeche",
                     "sanierungsgebiet", "ortsteil", "sananfangende", "bemerkung", "richtwerttyp", "quellenangabe"};
    if (bereich == Bereich::Ort) s.removeAll(QStringLiteral("ortsteil"));
    return s;
}

namespace {
// The plots of the source's street or place, as a condition with its values.
struct Auswahl {
    QString bedingung;
    Parameter werte;
};

Auswahl auswahlVon(const Datenbank& db, const Recordset& quelle, GrundstueckDaten::Bereich bereich) {
    Auswahl a{QStringLiteral("gemeindeschluessel = ?"), {quelle.feld("gemeindeschluessel")}};
    if (bereich == GrundstueckDaten::Bereich::Strasse) {
        // Plots that another program wrote into the street are copied onto too.
        db.folgeSuchspalten(QStringLiteral("grundstuecke"));
        a.bedingung += " and " + db.dialekt().suchGleich(QStringLiteral("strassen_name_suche"));
        a.werte << Dialekt::falte(quelle.text("strassen_name"));
    }
    return a;
}

// One update statement per run of plots in id order: set-based, yet the
// count grows while it runs.
class WerteKopierenAuftrag : public stapel::Auftrag {
public:
    WerteKopierenAuftrag(qint64 quelleId, GrundstueckDaten::Bereich bereich, int stueck)
        : m_quelleId(quelleId), m_bereich(bereich), m_stueck(qMax(1, stueck)) {}
    QString titel() const override { return QStringLiteral("Werte kopieren"); }
    bool abbrechbar() const override { return false; }
    void fuehreAus(stapel::Kontext& k) override {
        const Datenbank& db = k.db();
        const Recordset quelle = SucheDaten(db).grundstueckNachId(m_quelleId);
        if (quelle.eof()) return;
        const QStringList spalten = GrundstueckDaten::kopierSpalten(m_bereich);
        const Auswahl a = auswahlVon(db, quelle, m_bereich);

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
    qint64 anzahl() const { return m_anzahl; }

private:
    qint64 m_quelleId;
    GrundstueckDaten::Bereich m_bereich;
    int m_stueck;
    qint64 m_anzahl = 0;
    Anweisung m_update;
};
}  // namespace

stapel::Ergebnis GrundstueckDaten::kopiereWerte(qint64 quelleId, Bereich bereich, stapel::Anzeige& anzeige,
                                                qint64* anzahl, int stueck) const {
    WerteKopierenAuftrag auftrag(quelleId, bereich, stueck);
    stapel::Ergebnis e = stapel::fuehreAus(auftrag, m_db, anzeige);
    *anzahl = e.status == stapel::Ergebnis::Status::Fertig ? auftrag.anzahl() : 0;
    return e;
}

int GrundstueckDaten::loesche(qint64 id) const {
    return m_db.ausfuehren(QStringLiteral("delete from grundstuecke where id = ?"), {id});
}

int GrundstueckDaten::loescheStrasseVon(qint64 id) const {
    Transaktion t(m_db);
    const Recordset quelle = SucheDaten(m_db).grundstueckNachId(id);
    if (quelle.eof()) return 0;
    const Auswahl a = auswahlVon(m_db, quelle, Bereich::Strasse);
    const int n = m_db.ausfuehren("delete from grundstuecke where " + a.bedingung, a.werte);
    t.bestaetige();
    return n;
}

double fuehrendeZahl(const QString& text) {
    QString zahl;
    bool ziffer = false, komma = false;
    for (const QChar c : text) {
        if (c == ' ' || c == '\t' || c == '\n') continue;
        if (zahl.isEmpty() && !ziffer && (c == '+' || c == '-')) {
            zahl += c;
        } else if (c >= '0' && c <= '9') {
            zahl += c;
            ziffer = true;
        } else if (c == '.' && !komma) {
            zahl += c;
            komma = true;
        } else {
            break;
        }
    }
    if (!ziffer) return 0;
    bool ok = false;
    const double v = zahl.toDouble(&ok);
    return ok ? v : 0;
}

QString nachbarHausnummer(const QString& hausnummer, int schritt) {
    return QString::number(fuehrendeZahl(hausnummer) + schritt, 'g', 15);
}

}  // namespace talu
