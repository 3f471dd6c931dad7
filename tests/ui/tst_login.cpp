#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include "Fixture.h"
#include "kit/Dialoge.h"
#include "kit/modPublics.h"
#include "db/Backend.h"
#include "login/ZugangsDatei.h"
#include "login/ui/frmLoginDaten.h"

using namespace talu;

namespace {

QByteArray lies(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void schreibRoh(const QString& pfad, const QByteArray& inhalt) {
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(inhalt);
}

bool nurBesitzer(const QString& pfad) {
    const QFile::Permissions p = QFileInfo(pfad).permissions();
    const QFile::Permissions fremd = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                     QFile::WriteOther | QFile::ExeOther | QFile::ExeOwner;
    return (p & QFile::ReadOwner) && (p & QFile::WriteOwner) && !(p & fremd);
}

void tippe(frmLoginDaten& f, const Anmeldedaten& d) {
    const QString werte[4] = {d.server, d.datenbank, d.benutzer, d.passwort};
    for (int i = 0; i < 4; ++i) {
        f.text(i)->clear();
        QTest::keyClicks(f.text(i), werte[i]);
    }
}

void zeige(frmLoginDaten& f) {
    f.show();
    QApplication::setActiveWindow(&f);
    QVERIFY(QTest::qWaitForWindowActive(&f));
}

}  // namespace

class TstLogin : public QObject {
    Q_OBJECT
private:
    QTemporaryDir* m_dir = nullptr;
    DialogAufzeichnung* m_dialoge = nullptr;
    QString datei() const { return m_dir->filePath("zugang.dat"); }

private slots:
    void init();
    void cleanup();

    void steuerelemente();
    void ersterStartLeereFelder();
    void nurBlanksIstLeer();
    void dateiHinUndZurueck();
    void dateiFormatUndRechte();
    void dateiLesefehler_data();
    void dateiLesefehler();
    void dateiUnlesbar();
    void fehlgeschlageneVerbindungBehaeltWerte();
    void tastenNavigation();
    void enterImFeld0MeldetAn();
    void enterImLetztenFeldSpeichertUndMeldetAn();
    void anmeldenAnDatenbank_data();
    void anmeldenAnDatenbank();
    void ntModusOhneBenutzer();
    void abbrechenBeendet();
};

void TstLogin::init() {
    m_dir = new QTemporaryDir;
    test::programmVerzeichnisFuerTest(*m_dir);
    publics().zuruecksetzen();
    publics().Verbindung.schliessen();
    m_dialoge = new DialogAufzeichnung;
}

void TstLogin::cleanup() {
    delete m_dialoge;
    m_dialoge = nullptr;
    publics().Verbindung.schliessen();
    delete m_dir;
    m_dir = nullptr;
}

void TstLogin::steuerelemente() {
    frmLoginDaten f;
    QCOMPARE(f.textAnzahl(), 5);
    for (int i = 0; i < 5; ++i) QCOMPARE(f.text(i)->objectName(), QStringLiteral("text_%1").arg(i));
    QCOMPARE(f.findChild<QLabel*>("lblKopf")->text(), QStringLiteral("Connect-Daten eingeben"));
    QCOMPARE(f.findChild<QLabel*>("label_0")->text(), QStringLiteral("Server / Datenbank:"));
    QCOMPARE(f.findChild<QLabel*>("label_1")->text(), QStringLiteral("Benutzer / Passwort:"));
    QCOMPARE(f.findChild<QLabel*>("label_2")->text(), QStringLiteral("Status:"));
    QCOMPARE(f.findChild<QPushButton*>("cmdAnmelden")->text(), QStringLiteral("&Anmelden"));
    QCOMPARE(f.findChild<QPushButton*>("cmdAbbrechen")->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(f.text(3)->echoMode(), QLineEdit::Password);
    QCOMPARE(f.text(3)->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, f.text(3)), int('*'));
    QVERIFY(f.endeBeimSchliessen());
}

void TstLogin::ersterStartLeereFelder() {
    frmLoginDaten f;
    for (int i = 0; i < 4; ++i) QVERIFY(f.text(i)->text().isEmpty());
    QVERIFY(m_dialoge->meldungen.isEmpty());
    f.findChild<QPushButton*>("cmdAnmelden")->click();
    QCOMPARE(m_dialoge->meldungen.size(), 1);
    const auto m = m_dialoge->meldungen.first();
    QCOMPARE(m.text, QStringLiteral("Es muessen fuer die Verbindung alle Datenfelder ausgefuellt sein!"));
    QCOMPARE(m.titel, QStringLiteral("Information"));
    QCOMPARE(int(m.symbol), int(Dialoge::Symbol::Information));
    QVERIFY(!QFile::exists(datei()));
    QVERIFY(!publics().Verbindung.istOffen());
    QVERIFY(f.text(4)->text().isEmpty());  // no connection was tried
}

void TstLogin::nurBlanksIstLeer() {
    QVERIFY(!anmeldung::eingabenVollstaendig({"s", "d", "b", "   "}));
    QVERIFY(!anmeldung::eingabenVollstaendig({"", "d", "b", "p"}));
    QVERIFY(!anmeldung::eingabenVollstaendig({"s", " ", "b", "p"}));
    QVERIFY(anmeldung::eingabenVollstaendig({"s", "d", "b", " p "}));

    frmLoginDaten f;
    tippe(f, {"sqlite", "x.talu", "ich", "   "});
    f.cmdAnmelden_Click();
    QCOMPARE(m_dialoge->texte(), QStringList{anmeldung::kMeldungLeer});
    QVERIFY(!QFile::exists(datei()));
}

void TstLogin::dateiHinUndZurueck() {
    ZugangsDatei z(datei());
    const Anmeldedaten d{"postgres:db.example,1", "Bodenwerte, Nord", "\"Müller\"", "pa'ss, \"wort\" ;{}"};
    QString fehler;
    QVERIFY2(z.schreibe(d, &fehler), qPrintable(fehler));
    Anmeldedaten gelesen;
    QCOMPARE(int(z.lese(gelesen)), int(ZugangsDatei::Lesen::Gelesen));
    QCOMPARE(gelesen, d);

    // The form offers what the file holds and takes it into the shared state.
    frmLoginDaten f;
    QCOMPARE(f.text(0)->text(), d.server);
    QCOMPARE(f.text(1)->text(), d.datenbank);
    QCOMPARE(f.text(2)->text(), d.benutzer);
    QCOMPARE(f.text(3)->text(), d.passwort);
    QCOMPARE(publics().DbPasswort, d.passwort);
    QVERIFY(m_dialoge->meldungen.isEmpty());

    // Lines ended by LF only (edited by hand) and a missing final line break are read as well.
    schreibRoh(datei(), "a\nb\nc\nd");
    QCOMPARE(int(z.lese(gelesen)), int(ZugangsDatei::Lesen::Gelesen));
    QCOMPARE(gelesen, (Anmeldedaten{"a", "b", "c", "d"}));
}

void TstLogin::dateiFormatUndRechte() {
    ZugangsDatei z(datei());
    QVERIFY(z.schreibe({"srv", "dbü", "ich", "geheim"}));
    QCOMPARE(lies(datei()), QByteArray("srv\r\ndb\xc3\xbc\r\nich\r\ngeheim\r\n"));
    QVERIFY(nurBesitzer(datei()));

    // A file made readable by others is replaced by an owner-only one.
    QFile::setPermissions(datei(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    QVERIFY(!nurBesitzer(datei()));
    QVERIFY(z.schreibe({"srv2", "db", "ich", "neu"}));
    QVERIFY(nurBesitzer(datei()));
    QVERIFY(lies(datei()).startsWith("srv2\r\n"));
    // No temporary files are left behind.
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"zugang.dat"});

    // Also when the form writes it.
    QFile::remove(datei());
    frmLoginDaten f;
    tippe(f, {"sqlite", "gibt-es-nicht.talu", "ich", "pw"});
    f.SpeichereAnmeldedaten();
    QVERIFY(nurBesitzer(datei()));
}

void TstLogin::dateiLesefehler_data() {
    QTest::addColumn<QByteArray>("inhalt");
    QTest::newRow("drei Zeilen") << QByteArray("srv\r\ndb\r\nich\r\n");
    QTest::newRow("leer") << QByteArray();
    QTest::newRow("kein UTF-8") << QByteArray("srv\r\ndb\r\nM\xfcller\r\npw\r\n");
}

void TstLogin::dateiLesefehler() {
    QFETCH(QByteArray, inhalt);
    schreibRoh(datei(), inhalt);
    frmLoginDaten f;
    QCOMPARE(m_dialoge->meldungen.size(), 1);
    const auto m = m_dialoge->meldungen.first();
    QCOMPARE(m.text, QStringLiteral(" Beim Einlesen der gespeicherten Anmeldedaten ist ein Fehler passiert!"));
    QCOMPARE(m.titel, QString());
    QCOMPARE(int(m.symbol), int(Dialoge::Symbol::Kritisch));
    QVERIFY(!QFile::exists(datei()));
    for (int i = 0; i < 4; ++i) QVERIFY(f.text(i)->text().isEmpty());
    QVERIFY(publics().ServerName.isEmpty());
    // The form stays usable.
    tippe(f, {"sqlite", "x.talu", "ich", "pw"});
    f.SpeichereAnmeldedaten();
    QVERIFY(QFile::exists(datei()));
}

void TstLogin::dateiUnlesbar() {
    // A directory in the file's place cannot be read as the file.
    QVERIFY(QDir(m_dir->path()).mkdir("zugang.dat"));
    Anmeldedaten d;
    QCOMPARE(int(ZugangsDatei(datei()).lese(d)), int(ZugangsDatei::Lesen::Fehler));
    QVERIFY(!ZugangsDatei(datei()).schreibe({"a", "b", "c", "d"}));

    // The form reports both, and a login is still possible.
    test::FrischeDatenbank fx(test::backendNamens("sqlite"), false);
    QVERIFY2(fx.ok(), qPrintable(fx.fehler()));
    frmLoginDaten f;
    QCOMPARE(m_dialoge->texte(), QStringList{anmeldung::kMeldungLesefehler});
    tippe(f, {fx.server, fx.datenbank, fx.benutzer, fx.passwort});
    f.cmdAnmelden_Click();
    QCOMPARE(m_dialoge->texte().size(), 2);
    QCOMPARE(m_dialoge->texte().last(), QStringLiteral("Die Anmeldedaten konnten nicht gespeichert werden."));
    QVERIFY(!m_dialoge->meldungen.last().details.isEmpty());
    QCOMPARE(f.result(), int(QDialog::Accepted));
    QVERIFY(publics().Verbindung.istOffen());
}

void TstLogin::fehlgeschlageneVerbindungBehaeltWerte() {
    const Anmeldedaten d{"sqlite", "gibt-es-nicht.talu", "ich", "pw"};
    {
        frmLoginDaten f;
        zeige(f);
        tippe(f, d);
        const int sanduhren = m_dialoge->sanduhren;
        f.findChild<QPushButton*>("cmdAnmelden")->click();
        QCOMPARE(f.text(4)->text(), QStringLiteral("Die Verbindung zum SQL-Server ist fehl geschlagen!"));
        // The attempt ran under the busy pointer, which is off again.
        QCOMPARE(m_dialoge->sanduhren, sanduhren + 1);
        QVERIFY(!Sanduhr::laeuft());
        QVERIFY(!publics().Verbindung.istOffen());
        QVERIFY(f.isVisible());
        QVERIFY(f.endeBeimSchliessen());
        QVERIFY(!f.letzterFehler().isEmpty());
        // The server's own text and the rule of the server field are at hand.
        QVERIFY(f.text(4)->toolTip().contains(f.letzterFehler().simplified()));
        QVERIFY(f.text(4)->toolTip().contains(serverRegelText()));
        auto* details = f.findChild<QPushButton*>("cmdDetails");
        QVERIFY(details->isVisible());
        QVERIFY(m_dialoge->meldungen.isEmpty());  // no box by itself
        details->click();
        QCOMPARE(m_dialoge->meldungen.size(), 1);
        QVERIFY(m_dialoge->meldungen.first().text.contains(f.letzterFehler().simplified()));
        QVERIFY(m_dialoge->meldungen.first().text.contains(serverRegelText()));
        // The SQLite login never creates an empty database file by mistake.
        QVERIFY(!QFile::exists(m_dir->filePath("gibt-es-nicht.talu")));
    }
    QCOMPARE(lies(datei()), QByteArray("sqlite\r\ngibt-es-nicht.talu\r\nich\r\npw\r\n"));
    frmLoginDaten wieder;
    QCOMPARE(wieder.text(0)->text(), d.server);
    QCOMPARE(wieder.text(1)->text(), d.datenbank);
    QCOMPARE(wieder.text(2)->text(), d.benutzer);
    QCOMPARE(wieder.text(3)->text(), d.passwort);
}

void TstLogin::tastenNavigation() {
    frmLoginDaten f;
    zeige(f);
    f.text(1)->setFocus();
    QTest::keyClick(f.text(1), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), f.text(2));
    QTest::keyClick(f.text(2), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), f.text(3));
    QTest::keyClick(f.text(3), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), f.text(4));
    QTest::keyClick(f.text(4), Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), f.text(3));
    QTest::keyClick(f.text(3), Qt::Key_Up);
    QTest::keyClick(f.text(2), Qt::Key_Up);
    QTest::keyClick(f.text(1), Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), f.text(0));
    QTest::keyClick(f.text(0), Qt::Key_Up);  // wraps to the status line
    QCOMPARE(QApplication::focusWidget(), f.text(4));
    f.text(0)->setFocus();
    QTest::keyClick(f.text(0), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), f.text(1));
    // None of it typed anything or showed a message.
    for (int i = 0; i < 4; ++i) QVERIFY(f.text(i)->text().isEmpty());
    QVERIFY(m_dialoge->meldungen.isEmpty());
}

void TstLogin::enterImFeld0MeldetAn() {
    test::FrischeDatenbank fx(test::backendNamens("sqlite"), false);
    QVERIFY2(fx.ok(), qPrintable(fx.fehler()));
    {
        // Empty fields: Enter in the server field is "Anmelden" and shows the message.
        frmLoginDaten f;
        zeige(f);
        QTest::keyClick(f.text(0), Qt::Key_Return);
        QCOMPARE(m_dialoge->texte(), QStringList{anmeldung::kMeldungLeer});
    }
    frmLoginDaten f;
    zeige(f);
    tippe(f, {fx.server, fx.datenbank, fx.benutzer, fx.passwort});
    f.text(0)->setFocus();
    QTest::keyClick(f.text(0), Qt::Key_Return);
    QCOMPARE(f.result(), int(QDialog::Accepted));
    QVERIFY(!f.endeBeimSchliessen());
    QVERIFY(publics().Verbindung.istOffen());
}

void TstLogin::enterImLetztenFeldSpeichertUndMeldetAn() {
    test::FrischeDatenbank fx(test::backendNamens("sqlite"), false);
    QVERIFY2(fx.ok(), qPrintable(fx.fehler()));
    {
        frmLoginDaten f;
        zeige(f);
        f.text(4)->setFocus();
        QTest::keyClick(f.text(4), Qt::Key_Return);
        // Empty fields: the message once, not once per step.
        QCOMPARE(m_dialoge->texte(), QStringList{anmeldung::kMeldungLeer});
        QVERIFY(!QFile::exists(datei()));
    }
    frmLoginDaten f;
    zeige(f);
    tippe(f, {fx.server, fx.datenbank, fx.benutzer, fx.passwort});
    f.text(4)->setFocus();
    QTest::keyClick(f.text(4), Qt::Key_Down);
    QCOMPARE(f.result(), int(QDialog::Accepted));
    QVERIFY(publics().Verbindung.istOffen());
    Anmeldedaten d;
    QCOMPARE(int(ZugangsDatei(datei()).lese(d)), int(ZugangsDatei::Lesen::Gelesen));
    QCOMPARE(d, (Anmeldedaten{fx.server, fx.datenbank, fx.benutzer, fx.passwort}));
}

void TstLogin::anmeldenAnDatenbank_data() {
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("passwort");
    for (const test::TestBackend& b : test::backends()) {
        QTest::newRow(qPrintable(b.name + " einfach")) << b.name << QString();
        QTest::newRow(qPrintable(b.name + " apostroph")) << b.name << QStringLiteral("o'Neil;\"x\"{}");
    }
}

void TstLogin::anmeldenAnDatenbank() {
    QFETCH(QString, backend);
    QFETCH(QString, passwort);
    test::FrischeDatenbank fx(test::backendNamens(backend), true);
    QVERIFY2(fx.ok(), qPrintable(fx.fehler()));
    const QString pw = passwort.isEmpty() ? fx.passwort : passwort;
    frmLoginDaten f;
    zeige(f);
    tippe(f, {fx.server, fx.datenbank, fx.benutzer, pw});
    f.findChild<QPushButton*>("cmdAnmelden")->click();
    QVERIFY2(f.result() == QDialog::Accepted, qPrintable(f.letzterFehler()));
    QVERIFY(!f.isVisible());
    Publics& p = publics();
    QVERIFY(p.Verbindung.istOffen());
    QCOMPARE(p.ServerName, fx.server);
    QCOMPARE(p.DatenbankName, fx.datenbank);
    QCOMPARE(p.DbBenutzer, fx.benutzer);
    QCOMPARE(p.DbPasswort, pw);
    // The connection reaches the demo data.
    QVERIFY(p.Verbindung.wert("select count(*) from ortsnamen").toInt() > 0);
    Anmeldedaten d;
    QCOMPARE(int(ZugangsDatei(datei()).lese(d)), int(ZugangsDatei::Lesen::Gelesen));
    QCOMPARE(d.passwort, pw);
    QVERIFY(m_dialoge->meldungen.isEmpty());
}

void TstLogin::ntModusOhneBenutzer() {
    test::FrischeDatenbank fx(test::backendNamens("sqlite"), false);
    QVERIFY2(fx.ok(), qPrintable(fx.fehler()));
    Publics& p = publics();
    anmeldung::uebernehme({fx.server, fx.datenbank, "", ""}, p);
    QString fehler;
    QVERIFY2(anmeldung::verbinden(p, "nt", &fehler), qPrintable(fehler));
    QVERIFY(p.Verbindung.istOffen());
    // An unreadable server field is refused with the reason.
    anmeldung::uebernehme({"postgres:host:kein-port", "db", "u", "p"}, p);
    QVERIFY(!anmeldung::verbinden(p, "sql", &fehler));
    QVERIFY(fehler.contains("Port"));
    QVERIFY(anmeldung::fehlerDetails(fehler).contains(serverRegelText()));
}

void TstLogin::abbrechenBeendet() {
    {
        frmLoginDaten f;
        zeige(f);
        f.findChild<QPushButton*>("cmdAbbrechen")->click();
        QCOMPARE(f.result(), int(QDialog::Rejected));
        QVERIFY(f.endeBeimSchliessen());
    }
    frmLoginDaten f;
    zeige(f);
    f.close();
    QCOMPARE(f.result(), int(QDialog::Rejected));
    QVERIFY(f.endeBeimSchliessen());
}

QTEST_MAIN(TstLogin)
#include "tst_login.moc"
