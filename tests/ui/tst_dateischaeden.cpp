// Damaged program files: a hundred variants each of the login data, the two
// remembered search terms and the plot bookmark (empty, binary, huge, not
// UTF-8, lines missing or added, a directory, a named pipe, a device,
// unreadable, links, seeded random mutations of a valid file). The forms that
// read them open as at start, show only their own messages, and neither
// crash nor hang; the login form also in the real program.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include "LookupHilfe.h"
#include "kit/Anzeigeformate.h"
#include "kit/Formate.h"
#include "login/ZugangsDatei.h"
#include "login/ui/frmLoginDaten.h"
#include "lookup/Merkdatei.h"
#include "lookup/ui/frmSuchen.h"
#include "plot/Merker.h"
#include "plot/ui/frmGrundstueckMaske.h"

using namespace talu;

namespace {

// What the form must make of a variant.
enum class Erwartung {
    Gueltig,  // the valid file's values
    Teil,     // the values of the first `zeilen` lines (bookmark only)
    Schaden,  // a damaged file: nothing of it
    Fehlt,    // as if there were no file
    Offen     // a random mutation: only the properties that hold for any file
};

struct Variante {
    enum Art { Inhalt, Verzeichnis, Fifo, Unlesbar, Keine, LinkNullen, LinkNullgeraet, LinkLeer, LinkSchleife };
    QString name;
    Art art = Inhalt;
    QByteArray inhalt;
    Erwartung erwartung = Erwartung::Offen;
    int zeilen = 0;
};

constexpr qint64 kRiesig = 50 * 1024 * 1024;

QList<QByteArray> zeilenVon(const QByteArray& datei) {
    QList<QByteArray> z = datei.split('\n');
    if (!z.isEmpty() && z.last().isEmpty()) z.removeLast();
    for (QByteArray& l : z)
        if (l.endsWith('\r')) l.chop(1);
    return z;
}

QByteArray verbinde(const QList<QByteArray>& zeilen, const QByteArray& ende = "\r\n") {
    QByteArray b;
    for (const QByteArray& z : zeilen) b += z + ende;
    return b;
}

QByteArray zufallsBytes(QRandomGenerator& r, int n) {
    QByteArray b(n, Qt::Uninitialized);
    for (char& c : b) c = char(r.bounded(256));
    return b;
}

// A valid file changed by one to four random edits.
QByteArray mutiere(const QByteArray& gueltig, QRandomGenerator& r) {
    QByteArray b = gueltig;
    const int schritte = 1 + r.bounded(4);
    for (int s = 0; s < schritte; ++s) {
        const int pos = b.isEmpty() ? 0 : r.bounded(int(b.size()));
        QList<QByteArray> z = zeilenVon(b);
        switch (r.bounded(10)) {
            case 0: if (!b.isEmpty()) b[pos] = char(b[pos] ^ (1 << r.bounded(8))); break;
            case 1: if (!b.isEmpty()) b[pos] = char(r.bounded(256)); break;
            case 2: b.insert(pos, zufallsBytes(r, 1 + r.bounded(8))); break;
            case 3: b.remove(pos, 1 + r.bounded(8)); break;
            case 4: b.truncate(pos); break;
            case 5: if (!z.isEmpty()) { z.insert(r.bounded(int(z.size())), z[r.bounded(int(z.size()))]); b = verbinde(z); } break;
            case 6: if (!z.isEmpty()) { z.removeAt(r.bounded(int(z.size()))); b = verbinde(z); } break;
            case 7: if (z.size() > 1) { z.swapItemsAt(r.bounded(int(z.size())), r.bounded(int(z.size()))); b = verbinde(z); } break;
            case 8: b.insert(pos, QByteArray(1, "\0\x01\x1b\x7f\x85\t\x0c"[r.bounded(7)])); break;
            default: b.insert(pos, QByteArray(1 + r.bounded(300), char('a' + r.bounded(26)))); break;
        }
    }
    return b;
}

// Exactly hundred variants of a file: every kind of damage once, then random mutations.
// hoechstens is the reader's size cap, zeichen its line length cap, latin1 whether a
// file that is no UTF-8 is read as the regional code page.
QList<Variante> varianten(const QByteArray& gueltig, qint64 hoechstens, int zeichen, bool latin1, bool teilweise,
                          quint32 saat) {
    const QList<QByteArray> zeilen = zeilenVon(gueltig);
    const Erwartung keinUtf8 = latin1 ? Erwartung::Offen : Erwartung::Schaden;
    QList<Variante> v;
    v << Variante{"gültig", Variante::Inhalt, gueltig, Erwartung::Gueltig};
    v << Variante{"keine Datei", Variante::Keine, {}, Erwartung::Fehlt};
    v << Variante{"leer", Variante::Inhalt, {}, teilweise ? Erwartung::Teil : Erwartung::Schaden, 0};
    v << Variante{"nur ein Zeilenende", Variante::Inhalt, "\r\n", Erwartung::Offen};
    QRandomGenerator r(saat);
    v << Variante{"binär", Variante::Inhalt, zufallsBytes(r, 4096) + QByteArray(1, '\0'), Erwartung::Schaden};
    v << Variante{"Nullbyte in Text", Variante::Inhalt, QByteArray(gueltig).insert(2, '\0'), Erwartung::Offen};
    v << Variante{"riesig", Variante::Inhalt, {}, Erwartung::Schaden};  // filled when laid out
    v << Variante{"ein Byte zu groß", Variante::Inhalt, gueltig + QByteArray(hoechstens + 1 - gueltig.size(), ' '),
                  Erwartung::Schaden};
    v << Variante{"Latin-1", Variante::Inhalt, QString::fromUtf8(gueltig).toLatin1(), keinUtf8};
    v << Variante{"0xFF in Zeile 1", Variante::Inhalt, QByteArray(gueltig).insert(1, '\xff'), keinUtf8};
    v << Variante{"überlange Folge", Variante::Inhalt, QByteArray(gueltig).insert(1, "\xC0\xAF"), keinUtf8};
    v << Variante{"Ersatzzeichen-Hälfte", Variante::Inhalt, QByteArray(gueltig).insert(1, "\xED\xA0\x80"), keinUtf8};
    v << Variante{"abgeschnittene Folge", Variante::Inhalt, zeilen[0] + "\xE2\x82", keinUtf8};
    v << Variante{"Verzeichnis", Variante::Verzeichnis, {}, Erwartung::Schaden};
    v << Variante{"benannte Pipe", Variante::Fifo, {}, Erwartung::Schaden};
    v << Variante{"unlesbar", Variante::Unlesbar, gueltig, Erwartung::Schaden};
    v << Variante{"Link auf /dev/zero", Variante::LinkNullen, {}, Erwartung::Schaden};
    v << Variante{"Link auf /dev/null", Variante::LinkNullgeraet, {}, Erwartung::Schaden};
    v << Variante{"Link ins Leere", Variante::LinkLeer, {}, Erwartung::Fehlt};
    v << Variante{"Link-Schleife", Variante::LinkSchleife, {}, Erwartung::Schaden};
    v << Variante{"nur LF", Variante::Inhalt, verbinde(zeilen, "\n"), Erwartung::Gueltig};
    v << Variante{"ohne letztes Zeilenende", Variante::Inhalt, verbinde(zeilen).chopped(2), Erwartung::Gueltig};
    v << Variante{"BOM", Variante::Inhalt, "\xEF\xBB\xBF" + gueltig, Erwartung::Gueltig};
    v << Variante{"eine Zeile mehr", Variante::Inhalt, gueltig + "zusatz\r\n", Erwartung::Gueltig};
    v << Variante{"viele Zeilen mehr", Variante::Inhalt,
                  gueltig + QByteArray("x\r\n").repeated(int((hoechstens - gueltig.size()) / 3)), Erwartung::Gueltig};
    v << Variante{"Zeile 1 zu lang", Variante::Inhalt, QByteArray(zeichen + 1, 'x') + "\r\n" + verbinde(zeilen.mid(1)),
                  Erwartung::Offen};
    for (int k = 1; k < zeilen.size(); ++k)
        v << Variante{QStringLiteral("nur %1 Zeilen").arg(k), Variante::Inhalt, verbinde(zeilen.mid(0, k)),
                      teilweise ? Erwartung::Teil : Erwartung::Schaden, k};
    for (int i = int(v.size()); i < 100; ++i)
        v << Variante{QStringLiteral("Mutation %1").arg(i), Variante::Inhalt, mutiere(gueltig, r), Erwartung::Offen};
    return v;
}

bool vorhanden(const QString& pfad) {
    struct stat st {};
    return ::lstat(QFile::encodeName(pfad).constData(), &st) == 0;
}

void raeumeWeg(const QString& pfad) {
    const QFileInfo info(pfad);
    if (info.isDir() && !info.isSymLink()) QDir(pfad).removeRecursively();
    else ::unlink(QFile::encodeName(pfad).constData());
}

bool lege(const QString& pfad, const Variante& v) {
    raeumeWeg(pfad);
    const QByteArray name = QFile::encodeName(pfad);
    switch (v.art) {
        case Variante::Keine: return true;
        case Variante::Verzeichnis: return QDir().mkdir(pfad);
        case Variante::Fifo: return ::mkfifo(name.constData(), 0644) == 0;
        case Variante::LinkNullen: return ::symlink("/dev/zero", name.constData()) == 0;
        case Variante::LinkNullgeraet: return ::symlink("/dev/null", name.constData()) == 0;
        case Variante::LinkLeer: return ::symlink("gibt-es-nicht", name.constData()) == 0;
        case Variante::LinkSchleife: return ::symlink(name.constData(), name.constData()) == 0;
        case Variante::Inhalt:
        case Variante::Unlesbar: break;
    }
    QFile f(pfad);
    if (!f.open(QIODevice::WriteOnly)) return false;
    if (v.name == QLatin1String("riesig")) {
        const QByteArray block(1024 * 1024, 'a');
        for (qint64 n = 0; n < kRiesig; n += block.size()) f.write(block);
    } else {
        f.write(v.inhalt);
    }
    f.close();
    return v.art != Variante::Unlesbar || ::chmod(name.constData(), 0) == 0;
}

// A file without read permission does not stop root: the form then reads as
// the unprivileged "nobody" (file system identity only, for this thread).
class AlsNiemand {
public:
    explicit AlsNiemand(bool an) : m_an(an && ::geteuid() == 0) {
        if (m_an) ::setfsuid(65534);
    }
    ~AlsNiemand() {
        if (m_an) ::setfsuid(0);
    }

private:
    bool m_an;
};

bool hatSteuerzeichen(const QString& t) {
    for (const QChar c : t)
        if (c.category() == QChar::Other_Control) return true;
    return false;
}

// The text of a line of the file as UTF-8, or empty when it is none.
QString utf8Zeile(const QByteArray& datei, int i) {
    const QList<QByteArray> z = zeilenVon(datei.startsWith("\xEF\xBB\xBF") ? datei.mid(3) : datei);
    return i < z.size() ? QString::fromUtf8(z[i]) : QString();
}

const QByteArray kZugang = "sqlite\r\nbeispiel.talu\r\nich\r\ngeheim, mit \"Komma\" und \xC3\xB6\r\n";
const QByteArray kOrt = "frankfurt-h\xC3\xB6" "chst\r\n";
const QByteArray kStrasse = "am k\xC3\xB6nigsweg\r\n";
// Land values, codes and texts, the second page, the postcode; an umlaut in line 9.
const QByteArray kMerker =
    "125,5\r\n0\r\n1250,75\r\n 99 \r\nAllgemeines Wohngebiet\r\nbaureifes Land\r\noffen\r\nzonal\r\n"
    "Bemerkung, gr\xC3\xB6\xC3\x9F" "er\r\nGutachterausschuss\r\n0,8\r\nII\r\n25 m\r\n500 m\xC2\xB2\r\nja\r\nnein\r\nan\r\n77701\r\n";

// The boxes of the bookmark's lines, in file order, as the valid file fills them.
QStringList merkerBoxen(const frmGrundstueckMaske& f) {
    QStringList b;
    for (int i = 6; i <= 15; ++i) b << f.text_1[i]->text();
    for (int i = 0; i <= 6; ++i) b << f.text_2[i]->text();
    b << f.text_1[0]->text();
    return b;
}

}  // namespace

class TstDateischaeden : public QObject {
    Q_OBJECT
private:
    QTemporaryDir* m_dir = nullptr;
    QMap<QString, int> m_faelle;

private slots:
    void init();
    void cleanup();
    void cleanupTestCase();

    void zugangsdatei();
    void merkbegriffe_data();
    void merkbegriffe();
    void merker();
    void echtesProgramm();
};

void TstDateischaeden::init() {
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    // Searchable and writable for "nobody" too, who reads the unreadable variant.
    QVERIFY(::chmod(QFile::encodeName(m_dir->path()).constData(), 0777) == 0);
    test::programmVerzeichnisFuerTest(*m_dir);
    publics().zuruecksetzen();
}

void TstDateischaeden::cleanup() {
    formen::schliesseAlleKinder();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    publics().Verbindung.schliessen();
    delete m_dir;
    m_dir = nullptr;
}

void TstDateischaeden::cleanupTestCase() {
    for (auto it = m_faelle.cbegin(); it != m_faelle.cend(); ++it)
        qInfo("%s: %d Fälle", qPrintable(it.key()), it.value());
}

// The login form as start-up opens it: the stored values, or the read-error
// message and the file deleted; the form stays usable either way.
void TstDateischaeden::zugangsdatei() {
    const QString pfad = programmDatei("zugang.dat");
    const auto liste = varianten(kZugang, ZugangsDatei::kHoechstBytes, ZugangsDatei::kHoechstZeichen, false, false, 1);
    QCOMPARE(liste.size(), 100);
    for (const Variante& v : liste) {
        const QByteArray kontext = v.name.toUtf8();
        QVERIFY2(lege(pfad, v), kontext.constData());
        publics().zuruecksetzen();
        DialogAufzeichnung boxen;
        QStringList felder;
        {
            AlsNiemand niemand(v.art == Variante::Unlesbar);
            frmLoginDaten f;
            for (int i = 0; i < 4; ++i) felder << f.text(i)->text();
            QVERIFY2(f.text(0)->isEnabled() && f.endeBeimSchliessen(), kontext.constData());
        }
        const bool meldung = !boxen.meldungen.isEmpty();
        QVERIFY2(boxen.meldungen.size() <= 1, kontext.constData());
        if (meldung) {
            QCOMPARE(boxen.meldungen[0].text, anmeldung::kMeldungLesefehler);
            QCOMPARE(boxen.meldungen[0].symbol, Dialoge::Symbol::Kritisch);
            QCOMPARE(boxen.meldungen[0].titel, QString());
            QVERIFY2(felder == QStringList(4, QString()), kontext.constData());
            QVERIFY2(publics().ServerName.isEmpty(), kontext.constData());
            // Deleted, so that the next start is clean; a directory cannot be.
            QVERIFY2(!vorhanden(pfad) || v.art == Variante::Verzeichnis, kontext.constData());
        } else {
            QVERIFY2(vorhanden(pfad) || v.erwartung == Erwartung::Fehlt, kontext.constData());
            QCOMPARE(publics().ServerName, felder[0]);
            QCOMPARE(publics().DbPasswort, felder[3]);
        }
        switch (v.erwartung) {
            case Erwartung::Gueltig: {
                QVERIFY2(!meldung, kontext.constData());
                QStringList soll;
                for (int i = 0; i < 4; ++i) soll << utf8Zeile(kZugang, i);
                QCOMPARE(felder, soll);
                break;
            }
            case Erwartung::Fehlt:
                QVERIFY2(!meldung && felder == QStringList(4, QString()), kontext.constData());
                break;
            case Erwartung::Schaden:
            case Erwartung::Teil:
                QVERIFY2(meldung, kontext.constData());
                break;
            case Erwartung::Offen:
                // Taken only as the file's first four lines, each fitting its field.
                if (!meldung)
                    for (int i = 0; i < 4; ++i) {
                        QCOMPARE(felder[i], utf8Zeile(v.inhalt, i));
                        QVERIFY2(felder[i].size() <= ZugangsDatei::kHoechstZeichen, kontext.constData());
                    }
                break;
        }
        raeumeWeg(pfad);
        ++m_faelle["zugang.dat"];
    }
}

void TstDateischaeden::merkbegriffe_data() {
    QTest::addColumn<QString>("suchArt");
    QTest::addColumn<QString>("datei");
    QTest::addColumn<QByteArray>("gueltig");
    QTest::newRow("ort") << "suche nach ort" << "letzterort.txt" << kOrt;
    QTest::newRow("grundstück") << QString::fromUtf8("suche nach grundstück") << QString::fromUtf8("letztesgrundstück.txt")
                                << kStrasse;
}

// The search form offers the remembered term, or an empty box; it never
// shows a message for the file.
void TstDateischaeden::merkbegriffe() {
    QFETCH(QString, suchArt);
    QFETCH(QString, datei);
    QFETCH(QByteArray, gueltig);
    const QString pfad = programmDatei(datei);
    const QString soll = utf8Zeile(gueltig, 0);
    const auto liste = varianten(gueltig, 4096, lookup::kHoechstZeichen, false, false, 2 + quint32(datei.size()));
    QCOMPARE(liste.size(), 100);
    for (const Variante& v : liste) {
        const QByteArray kontext = v.name.toUtf8();
        QVERIFY2(lege(pfad, v), kontext.constData());
        publics().SuchArt = suchArt;
        DialogAufzeichnung boxen;
        QString begriff;
        {
            AlsNiemand niemand(v.art == Variante::Unlesbar);
            auto* f = formen::zeige<frmSuchen>();
            QVERIFY2(f, kontext.constData());
            begriff = f->Text1->text();
            formen::schliesseAlleKinder();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY2(boxen.meldungen.isEmpty(), kontext.constData());
        QVERIFY2(begriff.size() <= lookup::kHoechstZeichen && !hatSteuerzeichen(begriff), kontext.constData());
        switch (v.erwartung) {
            case Erwartung::Gueltig: QCOMPARE(begriff, soll); break;
            case Erwartung::Fehlt:
            case Erwartung::Schaden:
            case Erwartung::Teil: QVERIFY2(begriff.isEmpty(), kontext.constData()); break;
            case Erwartung::Offen:
                QVERIFY2(begriff.isEmpty() || begriff == utf8Zeile(v.inhalt, 0).trimmed(), kontext.constData());
                break;
        }
        raeumeWeg(pfad);
        ++m_faelle[datei];
    }
}

// A new plot starts from the bookmark: the lines that could be read fill
// their boxes, a land value shows as currency above 0; only a missing file
// has a message.
void TstDateischaeden::merker() {
    TALU_LOOKUP_DB(fx, "sqlite", false);
    Publics& p = publics();
    const QString pfad = programmDatei("merker.txt");
    const QList<QByteArray> zeilen = zeilenVon(kMerker);
    QStringList soll;
    for (int i = 0; i < kMerkerZeilen; ++i) {
        const QString z = QString::fromUtf8(zeilen[i]);
        soll << (i < 4 ? (anzeige::betrag(z) > 0 ? waehrung(anzeige::betrag(z)) : QString()) : z);
    }
    QCOMPARE(soll[0], waehrung(125.5));
    QCOMPARE(soll[1], QString());
    const auto liste = varianten(kMerker, 64 * 1024, 4096, true, true, 3);
    QCOMPARE(liste.size(), 100);
    for (const Variante& v : liste) {
        const QByteArray kontext = v.name.toUtf8();
        QVERIFY2(lege(pfad, v), kontext.constData());
        p.Ausgabe = 2;
        p.Modus = "erfassen";
        p.OrtFuerNeuesGrundstueck = true;
        DialogAufzeichnung boxen;
        QStringList boxenInhalt;
        {
            AlsNiemand niemand(v.art == Variante::Unlesbar);
            auto* f = formen::zeige<frmGrundstueckMaske>();
            QVERIFY2(f, kontext.constData());
            boxenInhalt = merkerBoxen(*f);
            formen::schliesseAlleKinder();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        if (v.erwartung == Erwartung::Fehlt) {
            QCOMPARE(boxen.texte(), QStringList{"Ich habe leider keine Merker-Datei gefunden!"});
        } else {
            QVERIFY2(boxen.meldungen.isEmpty(), kontext.constData());
        }
        for (int i = 0; i < kMerkerZeilen; ++i) {
            const QString& b = boxenInhalt[i];
            QVERIFY2(!hatSteuerzeichen(b), kontext.constData());
            if (i < 4 && !b.isEmpty())
                QVERIFY2(anzeige::betrag(b) > 0 && waehrung(anzeige::betrag(b)) == b, kontext.constData());
        }
        switch (v.erwartung) {
            case Erwartung::Gueltig:
                if (v.name == QLatin1String("Latin-1")) break;
                QCOMPARE(boxenInhalt, soll);
                break;
            case Erwartung::Teil:
                QCOMPARE(boxenInhalt, soll.mid(0, v.zeilen) + QStringList(kMerkerZeilen - v.zeilen, QString()));
                break;
            case Erwartung::Fehlt:
            case Erwartung::Schaden: QCOMPARE(boxenInhalt, QStringList(kMerkerZeilen, QString())); break;
            case Erwartung::Offen:
                if (v.name == QLatin1String("Latin-1")) QCOMPARE(boxenInhalt, soll);  // the regional code page
                break;
        }
        raeumeWeg(pfad);
        ++m_faelle["merker.txt"];
    }
}

// The real program, started as the operator starts it, with a damaged
// login file: it gets to its event loop (the message box) without hanging on
// the file, has let go of it, and is still running.
void TstDateischaeden::echtesProgramm() {
    const QString programm = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("../src/talu");
    if (!QFileInfo(programm).isExecutable()) QSKIP("talu ist nicht gebaut");
    // The program directory is the program's own: a copy of it in the temporary directory.
    const QString kopie = m_dir->filePath("talu");
    QVERIFY(QFile::copy(programm, kopie));
    QVERIFY(QFile::setPermissions(kopie, QFile::permissions(programm)));
    const QString pfad = m_dir->filePath("zugang.dat");
    QRandomGenerator r(4);
    const QList<Variante> liste = {
        {"benannte Pipe", Variante::Fifo, {}, Erwartung::Schaden},
        {"Link auf /dev/zero", Variante::LinkNullen, {}, Erwartung::Schaden},
        {"riesig", Variante::Inhalt, {}, Erwartung::Schaden},
        {"binär", Variante::Inhalt, zufallsBytes(r, 4096), Erwartung::Schaden},
        {"drei Zeilen", Variante::Inhalt, "srv\r\ndb\r\nich\r\n", Erwartung::Schaden},
        {"Latin-1", Variante::Inhalt, "srv\r\ndb\r\nM\xfcller\r\npw\r\n", Erwartung::Schaden},
        {"Verzeichnis", Variante::Verzeichnis, {}, Erwartung::Schaden},
        {"gültig", Variante::Inhalt, kZugang, Erwartung::Gueltig},
    };
    for (const Variante& v : liste) {
        const QByteArray kontext = v.name.toUtf8();
        QVERIFY2(lege(pfad, v), kontext.constData());
        QProcess prozess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        prozess.setProcessEnvironment(env);
        prozess.start(kopie, {});
        QVERIFY2(prozess.waitForStarted(), kontext.constData());
        const QString task = QStringLiteral("/proc/%1/task/%1/").arg(prozess.processId());
        // Waiting in the event loop's poll: the login form (and its box) is up.
        auto wartet = [&] {
            QFile w(task + "wchan");
            QFile s(task + "stat");
            if (!w.open(QIODevice::ReadOnly) || !s.open(QIODevice::ReadOnly)) return false;
            const QByteArray stat = s.readAll();
            return w.readAll().contains("poll") && stat.mid(stat.lastIndexOf(')') + 2, 1) == "S";
        };
        QTRY_VERIFY2_WITH_TIMEOUT(wartet() || prozess.state() != QProcess::Running, kontext.constData(), 120000);
        QVERIFY2(prozess.state() == QProcess::Running, (kontext + ": " + prozess.readAllStandardError()).constData());
        // No descriptor on the file is left open.
        const QFileInfoList fds = QDir(QStringLiteral("/proc/%1/fd").arg(prozess.processId())).entryInfoList(QDir::System);
        for (const QFileInfo& fd : fds) QVERIFY2(fd.symLinkTarget() != QFileInfo(pfad).absoluteFilePath(), kontext.constData());
        prozess.kill();
        prozess.waitForFinished();
        if (v.erwartung == Erwartung::Gueltig) QVERIFY(vorhanden(pfad));
        raeumeWeg(pfad);
        ++m_faelle["zugang.dat (Programm)"];
    }
}

QTEST_MAIN(TstDateischaeden)
#include "tst_dateischaeden.moc"
