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

GrundstueckDaten::Auswahl GrundstueckDaten::auswahlVon(const Datenbank& db, const Recordset& quelle,
                                                       GrundstueckDaten::Bereich bereich) {
    Auswahl a{QStringLiteral("gemeindeschluessel = ?"), {quelle.feld("gemeindeschluessel")}};
    if (bereich == GrundstueckDaten::Bereich::Strasse) {
        // Plots that another program wrote into the street are copied onto too.
        db.folgeSuchspalten(QStringLiteral("grundstuecke"));
        a.bedingung += " and " + db.dialekt().suchGleich(QStringLiteral("strassen_name_suche"));
        a.werte << Dialekt::falte(quelle.text("strassen_name"));
    }
    return a;
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

namespace {
// The characters of the leading number: blanks, tabs and line feeds skipped,
// an optional sign, digits with one "." as decimal point; empty without a digit.
QString fuehrendeZiffern(const QString& text) {
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
    return ziffer ? zahl : QString();
}
}  // namespace

double fuehrendeZahl(const QString& text) {
    const QString zahl = fuehrendeZiffern(text);
    if (zahl.isEmpty()) return 0;
    bool ok = false;
    const double v = zahl.toDouble(&ok);
    return ok ? v : 0;
}

QString fuehrendeZahlText(const QString& text) {
    QString zahl = fuehrendeZiffern(text);
    if (zahl.isEmpty()) return QStringLiteral("0");
    const bool minus = zahl.startsWith('-');
    if (zahl.startsWith('-') || zahl.startsWith('+')) zahl.remove(0, 1);
    const qsizetype punkt = zahl.indexOf('.');
    QString ganz = punkt < 0 ? zahl : zahl.left(punkt);
    QString bruch = punkt < 0 ? QString() : zahl.mid(punkt + 1);
    while (ganz.startsWith('0')) ganz.remove(0, 1);
    while (bruch.endsWith('0')) bruch.chop(1);
    if (ganz.isEmpty() && bruch.isEmpty()) return QStringLiteral("0");
    return (minus ? QStringLiteral("-") : QString()) + (ganz.isEmpty() ? QStringLiteral("0") : ganz) +
           (bruch.isEmpty() ? QString() : "." + bruch);
}

QString nachbarHausnummer(const QString& hausnummer, int schritt) {
    return QString::number(fuehrendeZahl(hausnummer) + schritt, 'g', 15);
}

}  // namespace talu
