// Hostile input typed into every box whose text reaches the database: the
// place and street search, the appraiser, user and district searches, the
// invoice-number search, the query-log name filter and the record masks of
// plots, places, districts, appraisers and users. For every entry of the
// corpus: no database error box and no exception; a search finds exactly the
// rows a plain comparison in C++ finds (with the program's case folding; the
// operator's % _ \ are characters, never wildcards); a saved value reads back
// exactly, through SQL and through the reopened mask, or cut to the box's and
// the column's length. On SQLite and, with TALU_TEST_PG, on PostgreSQL.
// Label "zuverlaessigkeit".
#include <QTableView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlField>
#include <QSqlRecord>
#include <QTest>
#include <functional>

#include "LookupHilfe.h"
#include "billing/ui/frmAbfrageprotokoll.h"
#include "billing/ui/frmRechnungen.h"
#include "db/Schema.h"
#include "kit/ui/MenueAktionen.h"
#include "lookup/ui/frmAuswaehlen.h"
#include "lookup/ui/frmSuchen.h"
#include "masterdata/ui/frmBenutzer.h"
#include "masterdata/ui/frmGutachter.h"
#include "masterdata/ui/frmKreis.h"
#include "place/ui/frmStadtMaske.h"
#include "plot/ui/frmGrundstueckMaske.h"

using namespace talu;

namespace {

struct Eintrag {
    QString name;
    QString text;
};

// Ten thousand characters with every hostile character in them.
QString langerText() {
    const QString muster = QString::fromUtf8("Straße'%_\\;--ÄÖÜ \"x");
    QString t;
    while (t.size() < 10000) t += muster;
    return t.left(10000);
}

QList<Eintrag> korpus() {
    return {
        {"apostroph", "'"},
        {"zwei apostrophe", "''"},
        {"oder eins gleich eins", "' or '1'='1"},
        {"prozent", "%"},
        {"unterstrich", "_"},
        {"backslash", "\\"},
        {"kommentar", ";--"},
        {"zehntausend zeichen", langerText()},
        {"rechts nach links", QString::fromUtf8("שדרות בן גוריון")},
        {"emoji", QString::fromUtf8("🏠😀")},
        {"u mit trema kombiniert", QString::fromUtf8("u\xCC\x88")},
        {"nul", QString("a") + QChar(0) + QString("b")},
    };
}

QString kurz(const QString& t) {
    QString k = t.left(40);
    k.replace(QChar(0), QStringLiteral("\\0"));
    return t.size() > 40 ? k + QStringLiteral("… (%1 Zeichen)").arg(t.size()) : k;
}

// Types the text into the box as an operator would, key by key (a key
// event per character, with its text); what keys cannot type (long text, a
// NUL or another control character) is pasted: inserted as a whole, through
// the box's length limit and its validator.
void tippe(QLineEdit* box, const QString& text) {
    box->clear();
    const QList<uint> zeichen = text.toUcs4();
    bool tastbar = zeichen.size() <= 40;
    for (const uint c : zeichen) tastbar = tastbar && c >= 0x20 && c != 0x7F;
    if (tastbar) {
        for (const uint c : zeichen) {
            const QString t = QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
            // Printable ASCII has its key code (letters by their capital); the rest comes as text only.
            const int taste = c < 0x7F ? int(QChar(char16_t(c)).toUpper().unicode()) : 0;
            QKeyEvent druck(QEvent::KeyPress, taste, Qt::NoModifier, t);
            QKeyEvent los(QEvent::KeyRelease, taste, Qt::NoModifier, t);
            QApplication::sendEvent(box, &druck);
            QApplication::sendEvent(box, &los);
        }
    } else {
        box->insert(text);
    }
}

// The program's folding of both sides of a case-insensitive comparison.
QString falte(const QString& t) { return t.toLower(); }

// A term with a NUL finds nothing: no text the program stores holds one (its
// boxes drop them; PostgreSQL cannot hold one), and no LIKE pattern can carry
// one. Rows seeded here with a NUL (SQLite keeps them) stand for another
// program's writes, which no search reaches.
bool suchbar(const QString& t) { return !t.contains(QChar(0)); }

using Ids = QList<qint64>;

Ids sortiert(Ids l) {
    std::sort(l.begin(), l.end());
    return l;
}

QString idText(const Ids& l) {
    QStringList t;
    for (qint64 i : l) t << QString::number(i);
    return "{" + t.join(",") + "}";
}

// All rows of a statement as maps of column to value.
QList<QVariantMap> zeilen(const QString& sql, const QVariantList& p = {}) {
    QList<QVariantMap> l;
    publics().Verbindung.durchlaufe(sql, p, [&](const QSqlRecord& r) {
        QVariantMap m;
        for (int i = 0; i < r.count(); ++i) m.insert(r.fieldName(i), r.value(i));
        l << m;
        return true;
    });
    return l;
}

int spaltenLaenge(const QString& tabelle, const QString& spalte) {
    if (const Tabelle* t = findeTabelle(tabelle))
        for (const Spalte& s : t->spalten)
            if (s.name == spalte) return s.typ == Typ::Text ? s.laenge : -1;
    return -1;
}

bool istTextSpalte(const QString& tabelle, const QString& spalte) {
    if (const Tabelle* t = findeTabelle(tabelle))
        for (const Spalte& s : t->spalten)
            if (s.name == spalte) return s.typ == Typ::Text;
    return false;
}

void entladeAlle() {
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class TestFeindlicheEingaben : public QObject {
    Q_OBJECT

    DialogAufzeichnung* m_boxen = nullptr;
    QStringList m_fehler;  // every fault found, to report them all at once
    int m_faelle = 0;

    void fehler(const QString& probe, const QString& fall, const QString& was) {
        m_fehler << probe + " / " + fall + ": " + was;
    }

    // Runs one case: no exception may leave the form's handler, and no
    // database error (a critical box) may be shown.
    template <class F>
    void fall(const QString& probe, const QString& name, F&& arbeit) {
        ++m_faelle;
        m_boxen->leeren();
        m_boxen->eingaben.clear();
        try {
            arbeit();
        } catch (const DbFehler& e) {
            fehler(probe, name, "Datenbankfehler " + e.kurz() + ": " + e.serverText() + " / " + e.sql());
        } catch (const std::exception& e) {
            fehler(probe, name, QStringLiteral("Ausnahme ") + e.what());
        }
        for (const DialogAufzeichnung::Gezeigt& g : m_boxen->meldungen)
            if (g.symbol == Dialoge::Symbol::Kritisch)
                fehler(probe, name, "Fehlermeldung: " + g.text.left(300) + " " + g.details.left(300));
    }

    // Search terms per corpus entry: the entry itself, and the entry behind
    // two letters (so that the three-character minimum lets it through and a
    // wildcard would find the neighbours).
    static QList<Eintrag> begriffe() {
        QList<Eintrag> l;
        for (const Eintrag& e : korpus()) {
            l << e;
            l << Eintrag{e.name + " hinter ab", "Ab" + e.text};
        }
        return l;
    }

    // Names with every entry inside and the neighbours a wildcard would hit.
    static QStringList namen(const QString& vorne, const QString& hinten, int laenge) {
        QStringList l;
        for (const Eintrag& e : korpus()) {
            l << (vorne + e.text + hinten).left(laenge);
            l << e.text.left(laenge);
        }
        l << vorne + "x" + hinten << vorne + "xy" + hinten << vorne + "'" + "x" + hinten << vorne + hinten
          << QString::fromUtf8("Ab\xC3\xBC") + hinten << QString::fromUtf8("ABÜ") + hinten << "aB" + hinten;
        return l;
    }

private slots:
    void init() {
        test::formenZuruecksetzen();
        m_fehler.clear();
        m_faelle = 0;
    }
    void cleanup() { test::lookupAufraeumen(); }

    // --- Searches ---------------------------------------------------------

    void ortUndStrasse_data() { test::backendZeilen(); }
    void ortUndStrasse() {
        QFETCH(QString, backend);
        TALU_LOOKUP_DB(fx, backend, true);
        DialogAufzeichnung boxen;
        m_boxen = &boxen;
        Publics& p = publics();
        const QString schluessel = QStringLiteral("06611000");  // Kassel
        TALU_DB_OK({
            int nr = 0;
            for (const QString& n : namen("Ab", "dorf", 100))
                p.Verbindung.einfuegen("ortsnamen", {{"ort", n},
                                                     {"plzneu", QString::number(90000 + nr)},
                                                     {"gemeindeschluessel", QString::number(9000000 + nr++)},
                                                     {"typ", nr % 4}});
            for (const QString& n : namen("Ab", "weg", 100))
                for (const char* loeschen : {"nein", "nein", "ja"})
                    p.Verbindung.einfuegen("grundstuecke", {{"gemeindeschluessel", schluessel},
                                                            {"strassen_name", n},
                                                            {"hausnummer", "1"},
                                                            {"hausnummer_numerisch", 1},
                                                            {"loeschen", QString::fromLatin1(loeschen)}});
        });
        const QList<QVariantMap> orte = zeilen("select id, ort, plzneu, gemeindeschluessel, typ from ortsnamen");
        const QList<QVariantMap> plots =
            zeilen("select id, strassen_name, loeschen from grundstuecke where gemeindeschluessel = ?", {schluessel});

        // Place: exact name (or postcode / key for digits), else the
        // beginning of a name, else any part; incorporated places never.
        auto erwarteteOrte = [&](const QString& t) {
            Ids erwartet;
            if (!suchbar(t)) return erwartet;
            bool ziffern = !t.isEmpty();
            for (const QChar c : t) ziffern = ziffern && c >= '0' && c <= '9';
            for (const int stufe : {0, 1, 2}) {
                for (const QVariantMap& o : orte) {
                    if (o.value("typ").toInt() >= 3) continue;
                    const QString ort = falte(o.value("ort").toString());
                    const bool passt = stufe == 0 ? (ziffern ? (t.size() == 5 ? o.value("plzneu").toString() == t
                                                                              : o.value("gemeindeschluessel").toString() == t)
                                                             : ort == t)
                                       : stufe == 1 ? ort.startsWith(t)
                                                    : ort.contains(t);
                    if (passt) erwartet << o.value("id").toLongLong();
                }
                if (!erwartet.isEmpty()) break;
            }
            return erwartet;
        };
        // Street: plots of the current place, not marked deleted, whose street begins with the term.
        auto erwarteteStrassen = [&](const QString& s) {
            Ids erwartet;
            if (!suchbar(s)) return erwartet;
            for (const QVariantMap& g : plots)
                if (g.value("loeschen").toString() == "nein" && falte(g.value("strassen_name").toString()).startsWith(s))
                    erwartet << g.value("id").toLongLong();
            return erwartet;
        };
        // The term as the box holds it (its length limit applied), and the refusals of too short a term.
        auto abgewiesen = [&](const QString& probe, const QString& name, const QString& t) {
            const QStringList texte = boxen.texte();
            if (t.isEmpty() || t.toUcs4().size() < 3) {
                const QString soll = t.isEmpty() ? "Sie haben keinen Suchbegriff eingegeben!"
                                                 : "Der Suchbegriff muss mindestens drei Zeichen lang sein!";
                if (texte != QStringList{soll}) fehler(probe, name, "Meldungen " + texte.join(" | "));
                return true;
            }
            return false;
        };

        int faelleOrt = 0, faelleStrasse = 0;
        for (const Eintrag& e : begriffe()) {
            fall("Ortssuche", e.name, [&] {
                ++faelleOrt;
                entladeAlle();
                p.SuchArt = "suche nach ort";
                p.OrtFuerNeuesGrundstueck = false;
                auto* f = formen::zeige<frmSuchen>();
                tippe(f->Text1, e.text);
                const QString t = f->Text1->text().trimmed().toLower();
                QTest::keyClick(f->Text1, Qt::Key_Return);
                if (abgewiesen("Ortssuche", e.name, t)) return;
                Ids gefunden;
                if (formen::vorhanden("frmInformationsGruppen")) gefunden << qint64(p.AktOrtId);
                else if (auto* l = formen::vorhanden<frmAuswaehlen>())
                    gefunden << Ids(l->ListenIds.begin(), l->ListenIds.end());
                else if (boxen.texte() != QStringList{"Es wurde kein passender Ort gefunden!"})
                    fehler("Ortssuche", e.name, "Meldungen " + boxen.texte().join(" | "));
                const Ids erwartet = erwarteteOrte(t);
                if (sortiert(gefunden) != sortiert(erwartet))
                    fehler("Ortssuche", e.name + " '" + kurz(e.text) + "'",
                           "gefunden " + idText(sortiert(gefunden)) + ", erwartet " + idText(sortiert(erwartet)));
            });
            fall("Strassensuche", e.name, [&] {
                ++faelleStrasse;
                entladeAlle();
                p.SuchArt = "suche nach grundstück";
                p.AktGemeindeschluessel = schluessel;
                auto* f = formen::zeige<frmSuchen>();
                tippe(f->Text1, e.text);
                const QString s = f->Text1->text().trimmed();
                f->cmdStarten->click();
                if (abgewiesen("Strassensuche", e.name, s.toLower())) return;
                Ids gefunden;
                if (auto* l = formen::vorhanden<frmAuswaehlen>())
                    gefunden << Ids(l->ListenIds.begin(), l->ListenIds.end());
                else if (boxen.texte() != QStringList{"Mit dieser Bezeichnung ist keine Strasse vorhanden!"})
                    fehler("Strassensuche", e.name, "Meldungen " + boxen.texte().join(" | "));
                const Ids erwartet = erwarteteStrassen(falte(s));
                if (sortiert(gefunden) != sortiert(erwartet))
                    fehler("Strassensuche", e.name + " '" + kurz(e.text) + "'",
                           QStringLiteral("gefunden %1, erwartet %2 Grundstücke").arg(gefunden.size()).arg(erwartet.size()));
            });
        }
        entladeAlle();
        // Nothing was changed by any term.
        QCOMPARE(test::zaehle("select count(*) from ortsnamen"), orte.size());
        qInfo().noquote() << QStringLiteral("%1: Ortssuche %2 Fälle, Strassensuche %3 Fälle")
                                 .arg(backend).arg(faelleOrt).arg(faelleStrasse);
        QVERIFY2(m_fehler.isEmpty(), qPrintable(m_fehler.join('\n')));
    }

    // The appraiser, user and district searches: any part of the name, in any case.
    void stammdatenSuche_data() { test::backendZeilen(); }
    void stammdatenSuche() {
        QFETCH(QString, backend);
        TALU_LOOKUP_DB(fx, backend, true);
        DialogAufzeichnung boxen;
        m_boxen = &boxen;
        Publics& p = publics();
        p.Ausgabe = 1;
        struct Art {
            QString probe, tabelle, spalte, suche, liste, maske;
            int laenge;
            std::function<SuchFormular*()> zeige;
        };
        const QList<Art> arten{
            {"Gutachtersuche", "gutachter", "name", "frmGutachterSuchen", "frmGutachterAuswaehlen",
             "frmGutachterMaske", spaltenLaenge("gutachter", "name"),
             [] { return formen::zeige<frmGutachterSuchen>(); }},
            {"Benutzersuche", "benutzer", "name", "frmBenutzerSuchen", "frmBenutzerAuswaehlen", "frmBenutzerMaske",
             spaltenLaenge("benutzer", "name"), [] { return formen::zeige<frmBenutzerSuchen>(); }},
            {"Kreissuche", "kreise", "kreis", "frmKreisSuchen", "frmKreisAuswaehlen", "frmKreisMaske",
             spaltenLaenge("kreise", "kreis"), [] { return formen::zeige<frmKreisSuchen>("frmKreisSuchen"); }},
        };
        QStringList zahlen;
        for (const Art& a : arten) {
            TALU_DB_OK({
                qint64 id = 100000;
                for (const QString& n : namen("Ab", " Zentrum", a.laenge > 0 ? a.laenge : 10000)) {
                    if (a.tabelle == "kreise") p.Verbindung.einfuegen("kreise", {{"id", ++id}, {a.spalte, n}});
                    else p.Verbindung.einfuegen(a.tabelle, {{a.spalte, n}});
                }
            });
            const QList<QVariantMap> alle = zeilen("select id, " + a.spalte + " from " + a.tabelle);
            int faelle = 0;
            for (const Eintrag& e : begriffe()) {
                fall(a.probe, e.name, [&] {
                    ++faelle;
                    entladeAlle();
                    SuchFormular* f = a.zeige();
                    tippe(f->text0, e.text);
                    const QString t = f->text0->text();
                    Ids erwartet;
                    for (const QVariantMap& r : alle)
                        if (suchbar(t) && falte(r.value(a.spalte).toString()).contains(falte(t)))
                            erwartet << r.value("id").toLongLong();
                    f->cmdSucheStarten->click();
                    Ids gefunden;
                    if (auto* l = formen::vorhanden<ListenFormular>(a.liste))
                        for (double id : l->ListenIds) gefunden << qint64(id);
                    else if (auto* m = formen::vorhanden<frmDatensatzMaske>(a.maske))
                        gefunden << qint64(m->DatensatzId());
                    else if (auto* k = formen::vorhanden<frmKreisMaske>(a.maske))
                        gefunden << qint64(k->DatensatzId());
                    else if (t.trimmed().isEmpty() ? boxen.meldungen.size() != 1
                                                   : boxen.texte() != QStringList{"Kein Treffer mit diesem Namen in der Datenbank!"})
                        fehler(a.probe, e.name, "Meldungen " + boxen.texte().join(" | "));
                    if (sortiert(gefunden) != sortiert(erwartet))
                        fehler(a.probe, e.name + " '" + kurz(e.text) + "'",
                               "gefunden " + idText(sortiert(gefunden)) + ", erwartet " + idText(sortiert(erwartet)));
                });
            }
            zahlen << QStringLiteral("%1 %2 Fälle").arg(a.probe).arg(faelle);
        }
        entladeAlle();
        qInfo().noquote() << backend + ": " + zahlen.join(", ");
        QVERIFY2(m_fehler.isEmpty(), qPrintable(m_fehler.join('\n')));
    }

    // "Rechnungen suchen": the number typed into the input box.
    void rechnungsnummer_data() { test::backendZeilen(); }
    void rechnungsnummer() {
        QFETCH(QString, backend);
        TALU_LOOKUP_DB(fx, backend, false);
        DialogAufzeichnung boxen;
        m_boxen = &boxen;
        publics().Ausgabe = 1;
        TALU_DB_OK(test::rechnung(publics().Verbindung, 2026001, "ja"); test::rechnung(publics().Verbindung, 1, "ja"));
        QList<Eintrag> eingaben = korpus();
        eingaben << Eintrag{"zehntausend ziffern", "1" + QString(9999, '0')}
                 << Eintrag{"nummer mit nul", QString("2026001") + QChar(0)}
                 << Eintrag{"nummer mit apostroph", "2026001'"}
                 << Eintrag{"nummer mit kommentar", "1;--"};
        for (const Eintrag& e : eingaben) {
            fall("Rechnungsnummer", e.name, [&] {
                entladeAlle();
                boxen.eingaben = QStringList{e.text};
                QVERIFY(menue::fuehreAus("mnuRechnungenSuchen", nullptr));
                // None of these is a plain number: no invoice is shown.
                if (formen::vorhanden<frmRechnungen>())
                    fehler("Rechnungsnummer", e.name, "eine Rechnung wurde angezeigt");
                if (boxen.meldungen.size() != 1)
                    fehler("Rechnungsnummer", e.name, "Meldungen " + boxen.texte().join(" | "));
            });
        }
        entladeAlle();
        qInfo().noquote() << QStringLiteral("%1: Rechnungsnummer %2 Fälle").arg(backend).arg(eingaben.size());
        QVERIFY2(m_fehler.isEmpty(), qPrintable(m_fehler.join('\n')));
    }

    // The query log's "Benutzer" filter: customers whose name begins with the answer.
    void protokollName_data() { test::backendZeilen(); }
    void protokollName() {
        QFETCH(QString, backend);
        TALU_LOOKUP_DB(fx, backend, false);
        DialogAufzeichnung boxen;
        m_boxen = &boxen;
        Publics& p = publics();
        p.Ausgabe = 1;
        const int laenge = spaltenLaenge("rechnungs_kunden", "name");
        TALU_DB_OK({
            int nr = 0;
            for (const QString& n : namen("Ab", " GmbH", laenge > 0 ? laenge : 10000)) {
                const QString login = QStringLiteral("kunde%1").arg(++nr);
                p.Verbindung.einfuegen("rechnungs_kunden", {{"name", n}, {"benutzername", login}});
                for (int j = 0; j <= nr % 2; ++j)
                    p.Verbindung.einfuegen("abfrageprotokoll", {{"datum", QDate(2026, 3, 1)},
                                                                {"uhrzeit", "10:00"},
                                                                {"db_benutzer", login},
                                                                {"objekt", "Objekt"},
                                                                {"preis", 2.5}});
            }
        });
        const QList<QVariantMap> alle = zeilen(
            "select abfrageprotokoll.id, name from abfrageprotokoll, rechnungs_kunden where "
            "abfrageprotokoll.db_benutzer = rechnungs_kunden.benutzername");
        QVERIFY(alle.size() > 20);
        auto* f = formen::zeige<frmAbfrageprotokoll>();
        QVERIFY(f);
        QAbstractItemModel* modell = f->raster()->model();
        int idSpalte = -1;
        for (int c = 0; c < modell->columnCount(); ++c)
            if (f->spaltenName(c) == QLatin1String("id")) idSpalte = c;
        QVERIFY(idSpalte >= 0);
        int faelle = 0;
        for (const Eintrag& e : begriffe()) {
            Ids erwartet;
            for (const QVariantMap& r : alle)
                if (suchbar(e.text) && falte(r.value("name").toString()).startsWith(falte(e.text)))
                    erwartet << r.value("id").toLongLong();
            fall("Protokollfilter", e.name, [&] {
                ++faelle;
                boxen.eingaben = QStringList{e.text};
                f->Command1->click();
                Ids gefunden;
                for (int r = 0; r < modell->rowCount(); ++r)
                    gefunden << modell->data(modell->index(r, idSpalte)).toLongLong();
                if (sortiert(gefunden) != sortiert(erwartet))
                    fehler("Protokollfilter", e.name + " '" + kurz(e.text) + "'",
                           "gefunden " + idText(sortiert(gefunden)) + ", erwartet " + idText(sortiert(erwartet)));
            });
        }
        entladeAlle();
        qInfo().noquote() << QStringLiteral("%1: Protokollfilter %2 Fälle").arg(backend).arg(faelle);
        QVERIFY2(m_fehler.isEmpty(), qPrintable(m_fehler.join('\n')));
    }

    // --- Record masks -------------------------------------------------------

    // Each editable box of each mask gets each entry on its own, the others
    // keeping what the record had; after the save the row holds the entry in
    // exactly one text column (cut to the box's and the column's length), or
    // the mask refused it with a message and stored nothing, and the reopened
    // mask shows the stored text.
    void masken_data() {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QString>("maske");
        for (const test::TestBackend& b : test::backends())
            for (const char* m : {"Grundstück", "Ort", "Kreis", "Gutachter", "Benutzer"})
                QTest::newRow(qPrintable(b.name + ": " + m)) << b.name << QString::fromUtf8(m);
    }
    void masken() {
        QFETCH(QString, backend);
        QFETCH(QString, maske);
        TALU_LOOKUP_DB(fx, backend, true);
        DialogAufzeichnung boxen;
        m_boxen = &boxen;
        Publics& p = publics();
        p.Ausgabe = 1;
        p.Editiermodus = true;

        // How each mask opens its record, which boxes it has, and which rows it writes.
        std::function<QWidget*()> oeffne;
        std::function<QPushButton*(QWidget*)> speichern;
        QList<QPair<QString, QString>> tabellen;  // table and its where clause for the record
        QVariantList wo;
        if (maske == QString::fromUtf8("Grundstück")) {
            qint64 id = 0;
            QString schluessel, nummer;
            TALU_DB_OK({
                const QVariantMap z = zeilen("select id, gemeindeschluessel, hausnummer from grundstuecke where "
                                             "hausnummer <> '9999' and loeschen = 'nein' order by id").first();
                id = z.value("id").toLongLong();
                schluessel = z.value("gemeindeschluessel").toString();
                nummer = z.value("hausnummer").toString();
            });
            oeffne = [=] {
                entladeAlle();
                test::waehleGrundstueck(schluessel, nummer);
                publics().RsSuche = publics().Verbindung.abfrage("select * from grundstuecke where id = ?", {id});
                return formen::zeige<frmGrundstueckMaske>();
            };
            speichern = [](QWidget* w) { return static_cast<frmGrundstueckMaske*>(w)->cmdSpeichern; };
            tabellen = {{"grundstuecke", "id = ?"}};
            wo = {id};
        } else if (maske == "Ort") {
            const QString schluessel = "06611000";
            oeffne = [=] {
                entladeAlle();
                publics().Modus = "aendern";
                publics().AktGemeindeschluessel = schluessel;
                return formen::zeige<frmStadtMaske>();
            };
            speichern = [](QWidget* w) { return static_cast<frmStadtMaske*>(w)->cmdSpeichern; };
            tabellen = {{"ortsdaten", "gemeindeschluessel = ?"}, {"ortsnamen", "gemeindeschluessel = ?"}};
            wo = {schluessel};
        } else if (maske == "Kreis") {
            qint64 id = 0;
            TALU_DB_OK(id = zeilen("select id from kreis where id in (select id from kreise) order by id").first().value("id").toLongLong());
            oeffne = [=] {
                entladeAlle();
                publics().Modus = "aendern";
                auto* m = formen::zeige<frmKreisMaske>("frmKreisMaske");
                m->setzeDatensatzId(double(id));
                return m;
            };
            speichern = [](QWidget* w) { return static_cast<frmKreisMaske*>(w)->cmdSpeichern; };
            tabellen = {{"kreis", "id = ?"}, {"kreise", "id = ?"}};
            wo = {id};
        } else {
            const bool gutachter = maske == "Gutachter";
            const QString tabelle = gutachter ? "gutachter" : "benutzer";
            qint64 id = 0;
            TALU_DB_OK(id = zeilen("select id from " + tabelle + " order by id").first().value("id").toLongLong());
            oeffne = [=]() -> QWidget* {
                entladeAlle();
                publics().Modus = "aendern";
                frmDatensatzMaske* m = gutachter ? static_cast<frmDatensatzMaske*>(formen::zeige<frmGutachterMaske>())
                                                 : formen::zeige<frmBenutzerMaske>();
                m->setzeDatensatzId(double(id));
                return m;
            };
            speichern = [](QWidget* w) { return static_cast<frmDatensatzMaske*>(w)->cmdSpeichern; };
            tabellen = {{tabelle, "id = ?"}};
            wo = {id};
        }
        auto zeile = [&] {
            QMap<QString, QVariant> z;
            for (const auto& [tabelle, bedingung] : tabellen)
                for (const QVariantMap& r : zeilen("select * from " + tabelle + " where " + bedingung + " order by id", wo))
                    for (auto it = r.cbegin(); it != r.cend(); ++it)
                        z.insert(tabelle + "." + it.key(), it.value());
            return z;
        };
        auto eingabeBoxen = [](QWidget* w) {
            QList<QLineEdit*> l;
            // Every editable box, on every page of a tabbed mask.
            for (QLineEdit* b : w->findChildren<QLineEdit*>())
                if (b->isEnabled() && !b->isReadOnly() && !b->isHidden()) l << b;
            return l;
        };

        // The record saved once unchanged: what the mask itself normalises is not counted.
        QWidget* w = nullptr;
        TALU_DB_OK(w = oeffne());
        QVERIFY(w);
        const int boxAnzahl = eingabeBoxen(w).size();
        QVERIFY2(boxAnzahl > 0, qPrintable(maske));
        speichern(w)->click();
        int faelle = 0, gespeichert = 0, abgelehnt = 0, alsZahl = 0;
        // Types into box b, saves, and returns the typed text (the box's own
        // length limit applied) and the columns the save changed.
        auto speichere = [&](int b, const QString& text, QString& getippt, QMap<QString, QVariant>& nachher) {
            QWidget* f = oeffne();
            const QMap<QString, QVariant> vorher = zeile();
            QLineEdit* box = eingabeBoxen(f).value(b);
            if (!box) throw std::runtime_error("Box fehlt nach dem Öffnen");
            tippe(box, text);
            getippt = box->text();
            speichern(f)->click();
            nachher = zeile();
            QStringList geaendert;
            for (auto it = nachher.cbegin(); it != nachher.cend(); ++it)
                if (vorher.value(it.key()) != it.value()) geaendert << it.key();
            return geaendert;
        };
        for (int b = 0; b < boxAnzahl; ++b) {
            // A harmless text first: the text column this box stores to, if any.
            QString spalte, getippt;
            QMap<QString, QVariant> nachher;
            fall(maske, QStringLiteral("Box %1, Markierung").arg(b), [&] {
                for (const QString& s : speichere(b, QStringLiteral("Qzx"), getippt, nachher))
                    if (istTextSpalte(s.section('.', 0, 0), s.section('.', 1)) && nachher.value(s).toString() == "Qzx")
                        spalte = s;
            });
            // A box that stores no text (a number, date or code) only has to
            // take the entries without an error: the sharpest four of them.
            QList<Eintrag> eintraege = korpus();
            if (spalte.isEmpty())
                eintraege = {eintraege[2], eintraege[7], eintraege[9], eintraege[11]};
            for (const Eintrag& e : eintraege) {
                const QString name = QStringLiteral("Box %1 (%2), %3").arg(b).arg(spalte.isEmpty() ? "keine Textspalte" : spalte, e.name);
                fall(maske, name, [&] {
                    ++faelle;
                    const QStringList geaendert = speichere(b, e.text, getippt, nachher);
                    if (spalte.isEmpty()) {
                        ++alsZahl;  // a number, date or code box: only no error is asked
                        return;
                    }
                    const int l = spaltenLaenge(spalte.section('.', 0, 0), spalte.section('.', 1));
                    const QString soll = l > 0 ? getippt.left(l) : getippt;
                    const QString ist = nachher.value(spalte).toString();
                    if (ist == soll) {
                        ++gespeichert;
                        // Read back through the mask.
                        QWidget* g = oeffne();
                        QLineEdit* box = eingabeBoxen(g).value(b);
                        if (!box || box->text() != ist)
                            fehler(maske, name, "gespeichert '" + kurz(ist) + "', die Maske zeigt '" +
                                                    kurz(box ? box->text() : QString()) + "'");
                        return;
                    }
                    // Refused with a message, and nothing stored: also right.
                    if (!geaendert.contains(spalte) && !boxen.meldungen.isEmpty() &&
                        !boxen.texte().contains("Der Datensatz wurde gespeichert!")) {
                        ++abgelehnt;
                        return;
                    }
                    fehler(maske, name + " '" + kurz(getippt) + "'",
                           "gespeichert '" + kurz(ist) + "' statt '" + kurz(soll) + "'; Meldungen " +
                               boxen.texte().join(" | "));
                });
            }
        }
        entladeAlle();
        qInfo().noquote() << QStringLiteral("%1: Maske %2, %3 Boxen, %4 Fälle: %5 als Text gespeichert, %6 "
                                            "abgelehnt, %7 in Zahl-, Datums- oder Codespalten")
                                 .arg(backend, maske)
                                 .arg(boxAnzahl)
                                 .arg(faelle)
                                 .arg(gespeichert)
                                 .arg(abgelehnt)
                                 .arg(alsZahl);
        QVERIFY2(m_fehler.isEmpty(), qPrintable(m_fehler.join('\n')));
    }
};

QTEST_MAIN(TestFeindlicheEingaben)
#include "tst_feindlicheeingaben.moc"
