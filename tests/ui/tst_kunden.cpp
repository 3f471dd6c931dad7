// Invoice customers: the search by name or user name with its list and mask,
// one customer per user name in any letter case, deleting only customers
// nothing refers to, and a new customer billed by the next run.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "AbrechnungHilfe.h"
#include "LookupHilfe.h"
#include "billing/ProtokollAnsicht.h"
#include "masterdata/KundenDaten.h"
#include "masterdata/ui/frmKunden.h"

using namespace talu;
using talu::test::kunde;
using talu::test::zeile;

namespace {

int zahl(const QString& sql, const QVariantList& p = {}) { return publics().Verbindung.wert(sql, p).toInt(); }

frmKundenMaske* maske(const QString& modus, const QStringList& texte = {}) {
    publics().Modus = modus;
    auto* m = formen::zeige<frmKundenMaske>();
    for (int i = 0; i < texte.size(); ++i) m->text[i]->setText(texte[i]);
    return m;
}

// With TALU_BILDER=DIR the form as PNG, to be looked at.
void bild(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("TALU_BILDER");
    if (!dir.isEmpty()) w->grab().save(QDir(dir).filePath(name + ".png"));
}

}  // namespace

class TestKunden : public QObject {
    Q_OBJECT

private slots:
    void init() { test::formenZuruecksetzen(); }
    void cleanup() { test::lookupAufraeumen(); }

    // ' % _ and umlauts are plain text in either column; one hit opens the
    // mask, several the list, none says so.
    void sucheListeMaske_data() { test::backendZeilen(); }
    void sucheListeMaske() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 mueller = 0, muehle = 0, obrien = 0, nord = 0, sued = 0;
        TALU_DB_OK(mueller = kunde(p.Verbindung, "mueller", "Müller & Söhne", "Buchhaltung", "Weender Str. 1", "37073",
                                   "Göttingen");
                   muehle = kunde(p.Verbindung, "MÜHLE", "Mühlenbau GmbH");
                   obrien = kunde(p.Verbindung, "obrien", "O'Brien 50% Anteil");
                   nord = kunde(p.Verbindung, "k_2", "Kanzlei Nord"); sued = kunde(p.Verbindung, "kx2", "Kanzlei Süd"));
        const QList<QPair<QString, QList<qint64>>> faelle = {
            {"o'b", {obrien}},   {"0% a", {obrien}},   {"%", {obrien}},           {"k_2", {nord}},
            {"_", {nord}},       {"MÜHLE", {muehle}},  {"mü", {muehle, mueller}}, {"kanzlei", {nord, sued}},
            {"Bau%", {}},        {"x_", {}},           {"ä", {}},
        };
        for (const auto& [begriff, ids] : faelle) {
            Suchergebnis e;
            TALU_DB_OK(e = sucheKundenDatensatz(begriff));
            QList<qint64> gefunden;
            for (const QSqlRecord& r : p.RsKunden.zeilen()) gefunden << r.value("id").toLongLong();
            QVERIFY2(gefunden == ids, qPrintable(begriff));
            QCOMPARE(e.art, ids.isEmpty()       ? Suchergebnis::KeinTreffer
                            : ids.size() == 1 ? Suchergebnis::EinTreffer
                                              : Suchergebnis::MehrereTreffer);
            p.RsKunden.schliessen();
        }

        DialogAufzeichnung dialoge;
        auto* s = formen::zeige<frmKundenSuchen>();
        for (const char* begriff : {" ", "Bau%"}) {
            s->text0->setText(begriff);
            s->cmdSucheStarten->click();
        }
        QCOMPARE(dialoge.texte(), (QStringList{"Das Datenfeld 'Name oder Benutzername' ist ein Mussfeld! Ohne dass es "
                                               "ausgefuellt ist, erfolgt keine Suche in der Datenbank.",
                                               "Kein Treffer mit diesem Namen in der Datenbank!"}));
        // One hit: the mask in change mode with every column and the number.
        s->text0->setText("mueller");
        s->cmdSucheStarten->click();
        auto* m = formen::vorhanden<frmKundenMaske>();
        QVERIFY(m);
        QCOMPARE(m->lblKopf->text(), QString("Kunde anzeigen/aendern"));
        QCOMPARE(m->texte(), (QStringList{"mueller", "Müller & Söhne", "Buchhaltung", "Weender Str. 1", "37073",
                                          "Göttingen"}));
        QCOMPARE(m->txtKundenNummer->text(), QString::number(mueller));
        bild(m, "kunden-maske");
        m->cmdZurueck->click();
        // Several: the list, by name; the choice opens that customer.
        s = formen::vorhanden<frmKundenSuchen>();
        QVERIFY(s);
        s->text0->setText("Mü");
        s->cmdSucheStarten->click();
        auto* l = formen::vorhanden<frmKundenAuswaehlen>();
        QVERIFY(l);
        QCOMPARE(l->ListenIds, (QVector<double>{double(muehle), double(mueller)}));
        QCOMPARE(l->Combo1->itemText(1), QString("Müller & Söhne       mueller         37073 Göttingen           "));
        bild(l, "kunden-liste");
        l->cmdAuswaehlen->click();
        m = formen::vorhanden<frmKundenMaske>();
        QVERIFY(m);
        QCOMPARE(m->txtKundenNummer->text(), QString::number(muehle));
    }

    // A new customer is kept by its first save, cut to the columns; a user
    // name that another customer has in any letter case is refused, naming
    // that customer, while the customer's own name in another case is not.
    void einBenutzernameEinKunde_data() { test::backendZeilen(); }
    void einBenutzernameEinKunde() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 mueller = 0;
        TALU_DB_OK(mueller = kunde(p.Verbindung, "müller", "Müller & Söhne"));
        DialogAufzeichnung dialoge;
        auto* m = maske("erfassen", {"  ", "Neu GmbH", "", QString(120, 'x'), "12345678901234"});
        m->cmdSpeichern->click();
        m->text[0]->setText("MÜLLER");
        m->cmdSpeichern->click();
        QCOMPARE(dialoge.texte(),
                 (QStringList{"Das Datenfeld 'Benutzername' ist ein Mussfeld! Ohne dass es ausgefuellt ist, wird nicht "
                              "gespeichert.",
                              QString("Der Benutzername „MÜLLER“ gehört schon dem Kunden „Müller & Söhne“ (Kunden-Nummer "
                                      "%1). Ein Benutzername kann nur zu einem Kunden gehören; der Datensatz wurde nicht "
                                      "gespeichert.")
                                  .arg(mueller)}));
        QVERIFY(!m->cmdLoeschen->isEnabled());

        dialoge.leeren();
        for (const char* benutzer : {"neu", "NEU"}) {  // the second save changes the first one's row
            m->text[0]->setText(benutzer);
            m->cmdSpeichern->click();
        }
        QCOMPARE(dialoge.texte(), QStringList(2, QString("Der Datensatz wurde gespeichert!")));
        QCOMPARE(m->txtKundenNummer->text(), QString::number(qint64(m->DatensatzId())));
        const Recordset r = p.Verbindung.abfrage("select * from rechnungs_kunden where id <> ?", {mueller});
        QCOMPARE(r.anzahl(), 1);
        QCOMPARE(r.zahl("id"), m->DatensatzId());
        QCOMPARE(r.text("benutzername"), QString("NEU"));
        QCOMPARE(r.text("strasse"), QString(100, 'x'));
        QCOMPARE(r.text("plz"), QString("1234567890"));
    }

    // A customer is kept while an invoice or an open log row refers to its
    // user name, in whatever case the log holds it; otherwise it goes.
    void loeschen_data() { test::backendZeilen(); }
    void loeschen() {
        QFETCH(QString, backend);
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        qint64 anton = 0, zeileId = 0;
        TALU_DB_OK(anton = kunde(p.Verbindung, "anton", "Anton AG"); zeileId = zeile(p.Verbindung, "ANTON", 12.5);
                   zeile(p.Verbindung, "Anton", 2.5); zeile(p.Verbindung, "berta", 2.5));
        DialogAufzeichnung dialoge;
        auto* m = maske("aendern");
        m->setzeDatensatzId(double(anton));
        const auto loesche = [&](bool ja) {
            dialoge.leeren();
            dialoge.jaAntworten = {ja};
            m->cmdLoeschen->click();
            return dialoge.texte().value(0);
        };
        QCOMPARE(loesche(false), QString());
        QCOMPARE(dialoge.fragen, QStringList{QString("Sind Sie sicher, dass der Kunde mit der Kunden-Nummer %1 "
                                                     "gelöscht werden soll?")
                                                 .arg(anton)});
        QCOMPARE(loesche(true), QString("Der Kunde „Anton AG“ kann nicht gelöscht werden: Zu seinem Benutzernamen "
                                        "„anton“ gibt es noch 2 offene Abfragen."));
        // Closed, but one of them on an invoice.
        TALU_DB_OK(p.Verbindung.ausfuehren("update abfrageprotokoll set offen = 'nein', rechnungsnummer = 2026001 "
                                           "where id = ?",
                                           {zeileId});
                   p.Verbindung.ausfuehren("update abfrageprotokoll set offen = 'nein'");
                   p.Verbindung.einfuegen("rechnungen", {{"rechnungsnummer", 2026001}, {"kundenname", "Anton AG"}}));
        QCOMPARE(loesche(true), QString("Der Kunde „Anton AG“ kann nicht gelöscht werden: Zu seinem Benutzernamen "
                                        "„anton“ gibt es noch 1 Rechnung."));
        QCOMPARE(zahl("select count(*) from rechnungs_kunden"), 1);

        TALU_DB_OK(p.Verbindung.ausfuehren("delete from rechnungen"));
        QCOMPARE(loesche(true), QString("Der Datensatz wurde gelöscht!"));
        QCOMPARE(zahl("select count(*) from rechnungs_kunden"), 0);
        QCOMPARE(formen::geladene(), QStringList{"frmKundenSuchen"});
    }

    // Taken on in the mask, the customer is in the query-log viewer at once
    // and billed with their open rows by the next run of the command-line
    // tool, whatever case the log holds the user name in.
    void neuerKundeWirdAbgerechnet_data() { test::backendZeilen(); }
    void neuerKundeWirdAbgerechnet() {
        QFETCH(QString, backend);
        const QString werkzeug =
            QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../src/talu-abrechnung");
        QVERIFY2(QFileInfo(werkzeug).isExecutable(), qPrintable(werkzeug));
        Publics& p = publics();
        TALU_FRISCHE_DB(fx, p.Verbindung, backend, false);
        TALU_DB_OK(zeile(p.Verbindung, "neu.kunde", 12.5); zeile(p.Verbindung, "NEU.KUNDE", 2.5);
                   zeile(p.Verbindung, "gast", 5.0));
        abrechnung::ProtokollModell ansicht(p.Verbindung);
        TALU_DB_OK(ansicht.zeigeAlle());
        QCOMPARE(ansicht.rowCount(), 0);

        DialogAufzeichnung dialoge;
        auto* m = maske("erfassen", {"Neu.Kunde", "Neukunde GmbH", "", "Am Markt 1", "37073", "Göttingen"});
        m->cmdSpeichern->click();
        TALU_DB_OK(ansicht.zeigeAlle());
        QCOMPARE(ansicht.rowCount(), 2);
        m->text[1]->setText("Neukunde AG");  // the run takes the changed name
        m->cmdSpeichern->click();

        QTemporaryDir dir;
        QProcess lauf;
        lauf.start(werkzeug, {"--server", fx.server, "--datenbank", fx.datenbank, "--benutzer", fx.benutzer,
                              "--passwort", fx.passwort, "--ordner", dir.path(), "--rechnungen", "--leise"});
        QVERIFY(lauf.waitForFinished(120000));
        QVERIFY2(lauf.exitCode() == 0, qPrintable(lauf.readAllStandardOutput() + lauf.readAllStandardError()));
        QCOMPARE(QDir(dir.path()).entryList({"Rechnung_*.pdf"}, QDir::Files).size(), 1);
        const Recordset r = p.Verbindung.abfrage("select rechnungsnummer, kundenname, nettobetrag from rechnungen");
        QCOMPARE(r.anzahl(), 1);
        QCOMPARE(r.text("kundenname"), QString("Neukunde AG"));
        QCOMPARE(r.zahl("nettobetrag"), 15.0);
        QCOMPARE(zahl("select count(*) from abfrageprotokoll where rechnungsnummer = ?", {r.feld("rechnungsnummer")}),
                 2);
    }
};

QTEST_MAIN(TestKunden)
#include "tst_kunden.moc"
