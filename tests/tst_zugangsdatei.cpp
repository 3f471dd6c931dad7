// zugang.dat holds the database password: every write leaves it owner-only
// (0600), whatever permissions the old file had and whatever the umask, and
// replaces it atomically: a reader sees the old file or the new one, the old
// file is never rewritten in place, and a symbolic link in its place is
// replaced, not followed.
#include <sys/stat.h>
#include <unistd.h>

#include <QtTest>

#include "login/ZugangsDatei.h"

using namespace talu;

namespace {

mode_t rechte(const QString& pfad) {
    struct stat st {};
    if (::lstat(QFile::encodeName(pfad).constData(), &st) != 0) return mode_t(-1);
    return st.st_mode & 07777;
}

ino_t inode(const QString& pfad) {
    struct stat st {};
    ::lstat(QFile::encodeName(pfad).constData(), &st);
    return st.st_ino;
}

QByteArray lies(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void schreibRoh(const QString& pfad, const QByteArray& inhalt, mode_t modus) {
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(inhalt);
    f.close();
    QCOMPARE(::chmod(QFile::encodeName(pfad).constData(), modus), 0);
}

const QByteArray kAlt = "alt\r\ndb\r\nich\r\naltesPasswort\r\n";

// The umask of the test process, set for one test and restored after it.
class Umask {
public:
    explicit Umask(mode_t neu) : m_alt(::umask(neu)) {}
    ~Umask() { ::umask(m_alt); }

private:
    mode_t m_alt;
};

}  // namespace

class TestZugangsDatei : public QObject {
    Q_OBJECT
private slots:
    void immerNurBesitzer_data();
    void immerNurBesitzer();
    void ersetztAtomar();
    void linkWirdErsetztNichtVerfolgt();
    void fehlschlagLaesstAlteDatei();
};

void TestZugangsDatei::immerNurBesitzer_data() {
    QTest::addColumn<int>("vorher");  // -1: no file yet
    QTest::addColumn<int>("umask");
    QTest::newRow("neu, umask 022") << -1 << 022;
    QTest::newRow("neu, umask 000") << -1 << 0;
    QTest::newRow("0644 vorher") << 0644 << 022;
    QTest::newRow("0666 vorher, umask 000") << 0666 << 0;
    QTest::newRow("0777 vorher") << 0777 << 022;
    QTest::newRow("0640 vorher") << 0640 << 027;
    QTest::newRow("0400 vorher") << 0400 << 022;
    QTest::newRow("0600 vorher") << 0600 << 022;
}

void TestZugangsDatei::immerNurBesitzer() {
    QFETCH(int, vorher);
    QFETCH(int, umask);
    QTemporaryDir dir;
    const QString pfad = dir.filePath("zugang.dat");
    if (vorher >= 0) schreibRoh(pfad, kAlt, mode_t(vorher));
    Umask u{mode_t(umask)};
    const ZugangsDatei datei(pfad);
    for (int i = 0; i < 3; ++i) {  // every write, not only the first
        QString fehler;
        const QString passwort = QStringLiteral("geheim%1").arg(i);
        QVERIFY2(datei.schreibe({"srv", "db", "ich", passwort}, &fehler), qPrintable(fehler));
        QCOMPARE(rechte(pfad), mode_t(0600));
        QCOMPARE(lies(pfad), "srv\r\ndb\r\nich\r\n" + passwort.toUtf8() + "\r\n");
    }
    // No temporary file is left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{"zugang.dat"});
}

void TestZugangsDatei::ersetztAtomar() {
    QTemporaryDir dir;
    const QString pfad = dir.filePath("zugang.dat");
    schreibRoh(pfad, kAlt, 0644);
    // A second name for the old file: a write in place would change it too.
    const QString zweiterName = dir.filePath("alter-name");
    QCOMPARE(::link(QFile::encodeName(pfad).constData(), QFile::encodeName(zweiterName).constData()), 0);
    // A reader that opened the old file before the write.
    QFile leser(pfad);
    QVERIFY(leser.open(QIODevice::ReadOnly));
    const ino_t alt = inode(pfad);

    QVERIFY(ZugangsDatei(pfad).schreibe({"neu", "db", "ich", "neuesPasswort"}));

    QVERIFY(inode(pfad) != alt);  // a new file took the name
    QCOMPARE(lies(zweiterName), kAlt);  // the old one was not touched
    QCOMPARE(rechte(zweiterName), mode_t(0644));
    QCOMPARE(leser.readAll(), kAlt);  // the reader sees the old file whole
    QCOMPARE(lies(pfad), QByteArray("neu\r\ndb\r\nich\r\nneuesPasswort\r\n"));
    QCOMPARE(rechte(pfad), mode_t(0600));
}

void TestZugangsDatei::linkWirdErsetztNichtVerfolgt() {
    QTemporaryDir dir;
    const QString ziel = dir.filePath("fuer-alle-lesbar.txt");
    schreibRoh(ziel, "fremd\n", 0644);
    const QString pfad = dir.filePath("zugang.dat");
    QVERIFY(QFile::link(ziel, pfad));

    QVERIFY(ZugangsDatei(pfad).schreibe({"srv", "db", "ich", "geheim"}));

    QVERIFY(!QFileInfo(pfad).isSymLink());
    QCOMPARE(rechte(pfad), mode_t(0600));
    QCOMPARE(lies(ziel), QByteArray("fremd\n"));  // the password did not go where the link pointed
    QCOMPARE(rechte(ziel), mode_t(0644));
}

void TestZugangsDatei::fehlschlagLaesstAlteDatei() {
    // A write that cannot be done changes nothing. A folder without write
    // permission would not stop root, who runs CI; a "folder" that is a file
    // stops everyone.
    QTemporaryDir dir;
    const QString blockiert = dir.filePath("keinOrdner");
    schreibRoh(blockiert, "datei\n", 0644);
    QString fehler;
    QVERIFY(!ZugangsDatei(blockiert + "/zugang.dat").schreibe({"a", "b", "c", "d"}, &fehler));
    QVERIFY(!fehler.isEmpty());
    QCOMPARE(lies(blockiert), QByteArray("datei\n"));

    // zugang.dat itself a directory: rename cannot replace it; the directory
    // stays and no temporary file is left behind.
    const QString pfad = dir.filePath("zugang.dat");
    QVERIFY(QDir().mkdir(pfad));
    QVERIFY(!ZugangsDatei(pfad).schreibe({"a", "b", "c", "d"}, &fehler));
    QVERIFY(QFileInfo(pfad).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keinOrdner"});
}

QTEST_GUILESS_MAIN(TestZugangsDatei)
#include "tst_zugangsdatei.moc"
