// talu-abrechnung, the command-line tool: PDF files, and nothing closed
// without --abschliessen.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "AbrechnungHilfe.h"

using namespace talu;
using namespace talu::test;

namespace {

QString werkzeug() {
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../src/talu-abrechnung");
}

struct Lauf {
    int code = -1;
    QString aus, fehler;
};

Lauf starte(const QStringList& argumente) {
    QProcess p;
    p.start(werkzeug(), argumente);
    Lauf l;
    if (!p.waitForFinished(120000)) return l;
    l.code = p.exitCode();
    l.aus = QString::fromUtf8(p.readAllStandardOutput());
    l.fehler = QString::fromUtf8(p.readAllStandardError());
    return l;
}

}  // namespace

class TstTaluAbrechnung : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(g_deutscheZahlen);
        if (!QFileInfo(werkzeug()).isExecutable()) QSKIP("talu-abrechnung ist nicht gebaut");
    }

    void aufrufFehler() {
        QCOMPARE(starte({}).code, 2);
        QCOMPARE(starte({"--server", "sqlite", "--datenbank", "x.talu"}).code, 2);  // no work named
        const Lauf l = starte({"--server", "sqlite", "--datenbank", "/gibt/es/nicht.talu", "--rechnungen"});
        QCOMPARE(l.code, 1);
        QVERIFY(l.fehler.contains("Keine Verbindung"));
    }

    void unbeaufsichtigt_data() { backendZeilen(); }
    void unbeaufsichtigt() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        TALU_DB_OK(kunde(db, "anton", "Anton AG"); kunde(db, "berta", "Berta KG"); zeile(db, "anton", 12.5);
                   zeile(db, "berta", 25.0); zeile(db, "gast", 5.0);
                   Zeile z; z.benutzer = "anton"; z.preis = 2.5; z.schluessel = "03241001"; z.preisGutachter = 1.0;
                   z.offenGutachter = "ja"; zeile(db, z));
        QTemporaryDir dir;
        const QStringList verbindung{"--server", fx.server, "--datenbank", fx.datenbank, "--benutzer", fx.benutzer,
                                     "--passwort", fx.passwort, "--ordner", dir.path()};
        Lauf l = starte(verbindung + QStringList{"--rechnungen", "--offene", "--gutachter"});
        QVERIFY2(l.code == 0, qPrintable(l.aus + l.fehler));
        const QString jahr = QString::number(QDate::currentDate().year());
        QStringList pdfs = QDir(dir.path()).entryList({"*.pdf"}, QDir::Files, QDir::Name);
        QCOMPARE(pdfs.size(), 4);  // two invoices, the list, the appraiser print-out
        QVERIFY(pdfs[0].startsWith("Gutachter-Kontroll-Ausdruck_"));
        QVERIFY(pdfs[1].startsWith("Offene-Rechnungen_"));
        QVERIFY(pdfs[2].startsWith("Rechnung_" + jahr + "001_"));
        QVERIFY(l.aus.contains("Nein"));
        // Without --abschliessen nothing is closed.
        QCOMPARE(db.wert("select count(*) from abfrageprotokoll where offen = 'ja'").toInt(), 4);
        QCOMPARE(db.wert("select count(*) from abfrageprotokoll where offen_gutachter = 'ja'").toInt(), 1);
        QCOMPARE(db.wert("select count(*) from rechnungen").toInt(), 2);

        l = starte(verbindung + QStringList{"--rechnungen", "--gutachter", "--abschliessen", "--leise"});
        QVERIFY2(l.code == 0, qPrintable(l.aus + l.fehler));
        QVERIFY(l.aus.contains("Die Merker der offenen Rechnungen wurden zurück gesetzt!"));
        QCOMPARE(db.wert("select count(*) from abfrageprotokoll where offen = 'ja'").toInt(), 0);
        QCOMPARE(db.wert("select count(*) from abfrageprotokoll where offen_gutachter = 'ja'").toInt(), 0);
        // The invoices of the first run, still open, were written again under their numbers.
        QCOMPARE(db.wert("select max(rechnungsnummer) from rechnungen").toLongLong(), jahr.toLongLong() * 1000 + 2);
        QVERIFY2(l.aus.contains("(noch einmal ausgegeben)"), qPrintable(l.aus));

        l = starte(verbindung + QStringList{"--rechnungen"});
        QCOMPARE(l.code, 0);
        QVERIFY(l.aus.contains("Es wurden keine offenen Rechnungen gefunden!"));
    }
};

QTEST_MAIN(TstTaluAbrechnung)
#include "tst_taluabrechnung.moc"
