// The invoice run of talu-abrechnung killed with SIGKILL at seeded random
// moments, then run again; and two runs started at the same moment. After
// every kill the database is consistent and every invoice file stands for
// its stored invoice; at the end every priced row is on exactly one invoice,
// no invoice is without rows, and the files are exactly the invoices. On
// SQLite and, with TALU_TEST_PG, on PostgreSQL. Label "zuverlaessigkeit";
// TALU_ABBRUCH_SAAT=N changes the seed.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <random>

#include "AbrechnungHilfe.h"

using namespace talu;
using namespace talu::test;

namespace {

constexpr int kKunden = 14;
constexpr int kToetungen = 30;

QString werkzeug() {
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../src/talu-abrechnung");
}

QString normal(QString t) { return t.replace(QChar(0x00A0), QLatin1Char(' ')); }

// Rows of customer i, logged in changing letter case; every customer also
// has a row without price, "null" has nothing else, "gast" is no customer.
void neueZeilen(const Datenbank& db, int runde, std::mt19937& zufall) {
    for (int i = 0; i < kKunden; ++i) {
        const int n = runde == 0 ? 4 : int(zufall() % 3);
        for (int j = 0; j < n; ++j) {
            const QString login = (i + j) % 3 == 0 ? QStringLiteral("K%1").arg(i) : QStringLiteral("k%1").arg(i);
            zeile(db, login, 2.5 * double((i * 7 + j + runde) % 9 + 1));
        }
        if (runde == 0) zeile(db, QStringLiteral("k%1").arg(i), 0.0);
    }
    if (runde == 0) {
        zeile(db, "null", 0.0);
        zeile(db, "NULL", QVariant());
    }
    zeile(db, "gast", 4.0);
}

struct Lauf {
    int code = -1;
    QString aus;
    bool belegt() const { return aus.contains(QStringLiteral("Ein anderer Rechnungslauf ist gerade in Arbeit")); }
};

QStringList argumente(const FrischeDatenbank& fx, const QString& ordner, bool abschliessen, bool leise = true) {
    QStringList a{"--server", fx.server, "--datenbank", fx.datenbank, "--benutzer", fx.benutzer, "--passwort",
                  fx.passwort, "--ordner", ordner, "--rechnungen"};
    if (leise) a << "--leise";
    if (abschliessen) a << "--abschliessen";
    return a;
}

Lauf warte(QProcess& p) {
    Lauf l;
    if (!p.waitForFinished(180000)) return l;
    l.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    l.aus = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return l;
}

// A run to its end; a killed run's session may hold the lock for a moment.
Lauf ganzerLauf(const QStringList& a) {
    Lauf l;
    for (int versuch = 0; versuch < 50; ++versuch) {
        QProcess p;
        p.start(werkzeug(), a);
        l = warte(p);
        if (!l.belegt()) return l;
        QThread::msleep(100);
    }
    return l;
}

QString pdfText(const QString& pfad) {
    QProcess p;
    p.start("pdftotext", {"-layout", pfad, "-"});
    if (!p.waitForFinished(30000)) return {};
    return normal(QString::fromUtf8(p.readAllStandardOutput()));
}

}  // namespace

class TstRechnungslaufAbbruch : public QObject {
    Q_OBJECT

    // Files already read back and found right, with the stored invoice they
    // showed; read again only when the file or its invoice changed.
    QHash<QString, QString> m_geprueft;

    // Consistent at any moment: every invoice has rows and its net is their
    // sum, no row names an invoice that does not exist, and every invoice
    // file is whole and shows its stored invoice. At the end also: every
    // priced row of a customer is on an invoice, nothing is billed twice,
    // there is one file per invoice and no provisional file.
    void pruefe(const Datenbank& db, const QString& ordner, bool ende) {
        QHash<qint64, double> netto;
        QHash<qint64, QString> kunde;
        db.durchlaufe("select rechnungsnummer, nettobetrag, kundenname from rechnungen", {}, [&](const QSqlRecord& r) {
            netto.insert(r.value(0).toLongLong(), r.value(1).toDouble());
            kunde.insert(r.value(0).toLongLong(), r.value(2).toString());
            return true;
        });
        QHash<qint64, double> summe;
        QHash<qint64, int> zeilen;
        double bepreistBeiKunden = 0;
        int ohneNummer = 0, offen = 0;
        db.durchlaufe("select rechnungsnummer, preis, db_benutzer, offen from abfrageprotokoll", {},
                      [&](const QSqlRecord& r) {
                          const double preis = r.value(1).isNull() ? 0 : r.value(1).toDouble();
                          const QString login = r.value(2).toString().toLower();
                          if (r.value(3).toString() == QLatin1String("ja")) ++offen;
                          const bool istKunde = login != QLatin1String("gast");
                          if (istKunde) bepreistBeiKunden += preis;
                          if (r.value(0).isNull()) {
                              if (istKunde && (preis != 0 || login == QLatin1String("null"))) ++ohneNummer;
                              return true;
                          }
                          summe[r.value(0).toLongLong()] += preis;
                          ++zeilen[r.value(0).toLongLong()];
                          return true;
                      });
        for (auto it = zeilen.cbegin(); it != zeilen.cend(); ++it)
            QVERIFY2(netto.contains(it.key()), qPrintable(QString("Zeilen mit Nummer %1 ohne Rechnung").arg(it.key())));
        double alleNetto = 0;
        for (auto it = netto.cbegin(); it != netto.cend(); ++it) {
            QVERIFY2(zeilen.value(it.key()) > 0, qPrintable(QString("Rechnung %1 ohne Zeilen").arg(it.key())));
            QVERIFY2(qAbs(summe.value(it.key()) - it.value()) < 1e-6,
                     qPrintable(QString("Rechnung %1: netto %2, Zeilen %3").arg(it.key()).arg(it.value()).arg(summe.value(it.key()))));
            alleNetto += it.value();
        }
        QSet<qint64> dateien;
        static const QRegularExpression name("^Rechnung_(\\d+)_\\d{4}-\\d{2}-\\d{2}\\.pdf$");
        const QDir dir(ordner);
        for (const QString& f : dir.entryList({"*.pdf"}, QDir::Files)) {
            const auto m = name.match(f);
            QVERIFY2(m.hasMatch(), qPrintable(f));
            const qint64 nr = m.captured(1).toLongLong();
            dateien.insert(nr);
            QVERIFY2(netto.contains(nr), qPrintable("Datei ohne gespeicherte Rechnung: " + f));
            const QFileInfo info(dir.absoluteFilePath(f));
            const QString stand = QStringLiteral("%1 %2 %3 %4")
                                      .arg(info.size())
                                      .arg(info.lastModified().toMSecsSinceEpoch())
                                      .arg(kunde.value(nr))
                                      .arg(netto.value(nr));
            if (m_geprueft.value(info.absoluteFilePath()) == stand) continue;
            const QString text = pdfText(info.absoluteFilePath());
            QVERIFY2(text.contains(QRegularExpression(QRegularExpression::escape(kunde.value(nr)) +
                                                      " +Rechnungs-Nr\\. +: " + QString::number(nr))),
                     qPrintable(f + ":\n" + text));
            QVERIFY2(text.contains(QRegularExpression("Preis \\(Netto\\) +: +" +
                                                      QRegularExpression::escape(normal(druck::Money(netto.value(nr)))))),
                     qPrintable(f + ":\n" + text));
            m_geprueft.insert(info.absoluteFilePath(), stand);
        }
        if (!ende) return;
        QCOMPARE(ohneNummer, 0);
        QCOMPARE(offen, 0);
        QVERIFY2(qAbs(alleNetto - bepreistBeiKunden) < 1e-6,
                 qPrintable(QString("Rechnungen %1, Abfragen %2").arg(alleNetto).arg(bepreistBeiKunden)));
        QCOMPARE(dateien, QSet<qint64>(netto.keyBegin(), netto.keyEnd()));
        QCOMPARE(dir.entryList({"*" + druck::teilEndung()}, QDir::Files | QDir::Hidden), QStringList());
    }

private slots:
    void initTestCase() {
        QVERIFY(g_deutscheZahlen);
        QVERIFY2(QFileInfo(werkzeug()).isExecutable(), qPrintable(werkzeug()));
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) QSKIP("pdftotext (poppler-utils) fehlt");
    }

    void getoetet_data() { backendZeilen(); }
    void getoetet() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        const unsigned saat = qEnvironmentVariableIsSet("TALU_ABBRUCH_SAAT")
                                  ? qEnvironmentVariableIntValue("TALU_ABBRUCH_SAAT")
                                  : 16u + unsigned(backend.size());
        qInfo() << "Saat" << saat;
        std::mt19937 zufall(saat);
        TALU_DB_OK(for (int i = 0; i < kKunden; ++i) kunde(db, QStringLiteral("k%1").arg(i), QStringLiteral("Kunde %1 GmbH").arg(i));
                   kunde(db, "null", "Nullkunde AG"); neueZeilen(db, 0, zufall));
        QTemporaryDir dir;
        const QString ordner = dir.filePath("ablage");

        // How long a whole run takes here: the kills fall within it.
        QElapsedTimer uhr;
        uhr.start();
        Lauf l = ganzerLauf(argumente(fx, ordner, false));
        QVERIFY2(l.code == 0, qPrintable(l.aus));
        int dauer = qMax(50, int(uhr.elapsed()));
        pruefe(db, ordner, false);

        // Killed runs by how far they got: before their first invoice,
        // while writing, after their last one.
        int getroffen = 0, mittendrin = 0, runde = 0;
        static const QRegularExpression stand("(\\d+) / (\\d+)\\s*$");
        for (int getoetet = 0; getoetet < kToetungen; ++runde) {
            TALU_DB_OK(neueZeilen(db, runde + 1, zufall));
            const bool abschliessen = zufall() % 4 == 0;
            if (runde % 6 == 5) {
                // Now and then a whole run, which also measures the run as it has grown.
                uhr.restart();
                l = ganzerLauf(argumente(fx, ordner, abschliessen));
                QVERIFY2(l.code == 0, qPrintable(l.aus));
                dauer = qMax(50, int(uhr.elapsed()));
                pruefe(db, ordner, false);
                continue;
            }
            const int nach = int(zufall() % unsigned(dauer + dauer / 5));
            QProcess p;
            p.start(werkzeug(), argumente(fx, ordner, abschliessen, false));
            QVERIFY(p.waitForStarted(10000));
            const bool getoetetHier = !p.waitForFinished(nach);
            if (getoetetHier) {
                p.kill();
                ++getroffen;
            }
            p.waitForFinished(30000);
            ++getoetet;
            const auto m = stand.match(QString::fromUtf8(p.readAllStandardError()).section('\r', -1));
            if (getoetetHier && m.hasMatch() && m.captured(1).toInt() > 1) ++mittendrin;
            if (backend == QLatin1String("sqlite")) {
                // The file itself survives the kill whole, as another client opening it finds it
                // (which first rolls back what the killed run left in its journal).
                const QStringList pruefung = fremderClient(fx.datenbank, "pragma integrity_check");
                QVERIFY2(pruefung == QStringList{"ok"}, qPrintable(pruefung.join('\n')));
            }
            pruefe(db, ordner, false);
            if (QTest::currentTestFailed()) {
                qWarning() << "nach Abbruch" << getoetet << "bei" << nach << "ms";
                return;
            }
        }
        qInfo() << getroffen << "von" << kToetungen << "Läufen getötet," << mittendrin
                << "nach ihrer ersten Rechnung; Laufdauer zuletzt" << dauer << "ms";
        QVERIFY(getroffen >= kToetungen / 2);
        QVERIFY(mittendrin >= 3);

        l = ganzerLauf(argumente(fx, ordner, true));
        QVERIFY2(l.code == 0, qPrintable(l.aus));
        pruefe(db, ordner, true);
    }

    // Two runs started together: one is refused with its message (or, if
    // it came after the other had ended, prints the same invoices again);
    // nothing is billed twice.
    void zweiZugleich_data() { backendZeilen(); }
    void zweiZugleich() {
        QFETCH(QString, backend);
        Datenbank db;
        TALU_FRISCHE_DB(fx, db, backend, false);
        std::mt19937 zufall(7);
        TALU_DB_OK(for (int i = 0; i < kKunden; ++i) kunde(db, QStringLiteral("k%1").arg(i), QStringLiteral("Kunde %1 GmbH").arg(i));
                   kunde(db, "null", "Nullkunde AG"); neueZeilen(db, 0, zufall));
        QTemporaryDir dir;
        const QString ordner = dir.filePath("ablage");
        int abgewiesen = 0;
        for (int runde = 1; runde <= 4; ++runde) {
            TALU_DB_OK(neueZeilen(db, runde, zufall));
            QProcess a, b;
            a.start(werkzeug(), argumente(fx, ordner, runde == 4));
            b.start(werkzeug(), argumente(fx, ordner, runde == 4));
            const Lauf la = warte(a), lb = warte(b);
            for (const Lauf& l : {la, lb}) {
                if (l.belegt()) {
                    QCOMPARE(l.code, 1);
                    ++abgewiesen;
                } else {
                    QVERIFY2(l.code == 0, qPrintable(l.aus));
                }
            }
            QVERIFY2(!(la.belegt() && lb.belegt()), qPrintable(la.aus + lb.aus));
            pruefe(db, ordner, false);
            if (QTest::currentTestFailed()) return;
        }
        QVERIFY2(abgewiesen > 0, "Keiner der Läufe traf auf einen anderen.");
        const Lauf l = ganzerLauf(argumente(fx, ordner, true));
        QVERIFY2(l.code == 0, qPrintable(l.aus));
        pruefe(db, ordner, true);
    }
};

QTEST_MAIN(TstRechnungslaufAbbruch)
#include "tst_rechnungslaufabbruch.moc"
