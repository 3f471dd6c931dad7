// The program's own small files: a device, a pipe or an oversized file in
// their place is a damaged file, never a hang or a memory exhaustion, and a
// value too long for its field is refused rather than cut.
#include <sys/stat.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QtTest>

#include "kit/KleineDatei.h"
#include "login/ZugangsDatei.h"
#include "lookup/Merkdatei.h"

using namespace talu;

class TestProgrammDateien : public QObject {
    Q_OBJECT
private slots:
    void keineGewoehnlicheDatei_data();
    void keineGewoehnlicheDatei();
    void grenzen();
    void zugangZuLangeZeile();
    void merkbegriffZuLang();
};

void TestProgrammDateien::keineGewoehnlicheDatei_data() {
    QTest::addColumn<QString>("art");
    QTest::newRow("link to /dev/zero") << "null";
    QTest::newRow("named pipe") << "pipe";
    QTest::newRow("directory") << "verzeichnis";
}

void TestProgrammDateien::keineGewoehnlicheDatei() {
    QFETCH(QString, art);
    QTemporaryDir dir;
    for (const char* name : {"zugang.dat", "letzterort.txt"}) {
        const QString pfad = dir.filePath(QString::fromLatin1(name));
        if (art == "null") QVERIFY(QFile::link("/dev/zero", pfad));
        else if (art == "pipe") QCOMPARE(::mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
        else QVERIFY(QDir().mkpath(pfad));
    }
    QElapsedTimer uhr;
    uhr.start();
    Anmeldedaten d{"a", "b", "c", "d"};
    QString grund;
    QCOMPARE(ZugangsDatei(dir.filePath("zugang.dat")).lese(d, &grund), ZugangsDatei::Lesen::Fehler);
    QVERIFY(!grund.isEmpty());
    QCOMPARE(d, (Anmeldedaten{"a", "b", "c", "d"}));
    QCOMPARE(lookup::leseMerkbegriff(dir.filePath("letzterort.txt")), QString());
    // Neither blocked on the pipe nor read the endless device.
    QVERIFY(uhr.elapsed() < 5000);
}

void TestProgrammDateien::grenzen() {
    QTemporaryDir dir;
    const QString pfad = dir.filePath("x");
    QByteArray inhalt;
    QCOMPARE(leseKleineDatei(pfad, 10, inhalt), KleineDateiLesen::KeineDatei);
    // A link that leads nowhere is no file either.
    QVERIFY(QFile::link(dir.filePath("fehlt"), pfad));
    QCOMPARE(leseKleineDatei(pfad, 10, inhalt), KleineDateiLesen::KeineDatei);
    QFile::remove(pfad);
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("0123456789");
    f.close();
    QCOMPARE(leseKleineDatei(pfad, 10, inhalt), KleineDateiLesen::Gelesen);
    QCOMPARE(inhalt, QByteArray("0123456789"));
    QCOMPARE(leseKleineDatei(pfad, 9, inhalt), KleineDateiLesen::Fehler);
}

void TestProgrammDateien::zugangZuLangeZeile() {
    QTemporaryDir dir;
    const ZugangsDatei datei(dir.filePath("zugang.dat"));
    // The longest values that fit the fields come back unchanged, emoji included.
    const QString emoji = QString::fromUtf8("😀");
    QString lang;
    while (lang.size() + emoji.size() <= ZugangsDatei::kHoechstZeichen) lang += emoji;
    const Anmeldedaten voll{lang, QString(ZugangsDatei::kHoechstZeichen, QChar(0x00FC)), "benutzer", "pass,wort"};
    QVERIFY(datei.schreibe(voll));
    Anmeldedaten gelesen;
    QCOMPARE(datei.lese(gelesen), ZugangsDatei::Lesen::Gelesen);
    QCOMPARE(gelesen, voll);
    // One character more is a damaged file, not a silently cut value.
    QFile f(datei.pfad());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(ZugangsDatei::kHoechstZeichen + 1, 'x') + "\r\ndb\r\nu\r\np\r\n");
    f.close();
    QString grund;
    QCOMPARE(datei.lese(gelesen, &grund), ZugangsDatei::Lesen::Fehler);
    QVERIFY(grund.contains("Zeile 1"));
    // A megabyte-long first line is refused before it is even decoded.
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(1 << 20, 'x') + "\r\ndb\r\nu\r\np\r\n");
    f.close();
    QCOMPARE(datei.lese(gelesen), ZugangsDatei::Lesen::Fehler);
    QCOMPARE(gelesen, voll);
}

void TestProgrammDateien::merkbegriffZuLang() {
    QTemporaryDir dir;
    const QString pfad = dir.filePath("letztesgrundstück.txt");
    const QString passt(lookup::kHoechstZeichen, QChar('a'));
    QVERIFY(lookup::schreibeMerkbegriff(pfad, passt));
    QCOMPARE(lookup::leseMerkbegriff(pfad), passt);
    QVERIFY(lookup::schreibeMerkbegriff(pfad, passt + QString::fromUtf8("😀")));
    QCOMPARE(lookup::leseMerkbegriff(pfad), QString());
}

QTEST_GUILESS_MAIN(TestProgrammDateien)
#include "tst_programmdateien.moc"
