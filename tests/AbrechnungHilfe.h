#pragma once
// Shared set-up of the billing tests: German amounts, a print target that
// keeps the documents (and can fail on one), an operator whose answers are
// scripted, customers and log rows written straight into the tables, and
// the comparison with the golden files under tests/daten.
#include <QFile>
#include <QTest>
#include <functional>

#include "Fixture.h"
#include "TestHilfe.h"
#include "billing/Bediener.h"
#include "billing/Druckdokument.h"
#include "billing/PdfAusgabe.h"
#include "db/Datenbank.h"

namespace talu::test {

// Amounts and dates as a German office prints them, whatever the machine's
// locale; set before the application reads it.
inline const bool g_deutscheZahlen = [] {
    qputenv("LC_ALL", "de_DE.UTF-8");
    return true;
}();

// Keeps every document; "on paper" unless told otherwise; throws on the
// document numbered fehlerBei (counting from 1).
class Sammler : public druck::Druckziel {
public:
    druck::DruckErgebnis gibAus(const druck::Druckdokument& d) override {
        if (++m_anzahl == fehlerBei) throw druck::DruckFehler(QStringLiteral("Papierstau im Fach 2"));
        dokumente << d;
        return {papier, {}};
    }
    bool druckt() const override { return papier; }

    QList<druck::Druckdokument> dokumente;
    int fehlerBei = 0;
    bool papier = true;

private:
    int m_anzahl = 0;
};

// Records what the operator is told and answers from a script.
class TestBediener : public abrechnung::Bediener {
public:
    void melde(qint64, qint64, const QString&) override {}
    void info(const QString& text) override { infos << text; }
    void fehler(const QString& text, const QString& details) override {
        fehlerTexte << text;
        fehlerDetails << details;
    }
    bool frage(const QString& text) override {
        fragen << text;
        if (beiFrage) beiFrage();
        return antworten.isEmpty() ? false : antworten.takeFirst();
    }
    QString eingabe(const QString& aufforderung) override {
        aufforderungen << aufforderung;
        return eingaben.isEmpty() ? QString() : eingaben.takeFirst();
    }
    bool fortschritt(int nr, int anzahl, const QString& kunde) override {
        fortschritte << QStringLiteral("%1/%2 %3").arg(nr).arg(anzahl).arg(kunde);
        if (beiFortschritt) beiFortschritt(nr);
        return anhaltenBei == 0 || nr < anhaltenBei;
    }

    QStringList infos, fehlerTexte, fehlerDetails, fragen, aufforderungen, fortschritte;
    QList<bool> antworten;  // default No
    QStringList eingaben;   // default cancelled
    std::function<void()> beiFrage;
    std::function<void(int)> beiFortschritt;  // before the customer numbered nr
    int anhaltenBei = 0;    // the customer before whom the run is stopped
};

inline qint64 kunde(const Datenbank& db, const QString& login, const QString& name, const QVariant& zusatz = {},
                    const QString& strasse = QStringLiteral("Kaiserstraße 12"),
                    const QString& plz = QStringLiteral("60311"), const QString& ort = QStringLiteral("Frankfurt am Main")) {
    return db.einfuegen("rechnungs_kunden", {{"benutzername", login},
                                             {"name", name},
                                             {"zusatz", zusatz},
                                             {"strasse", strasse},
                                             {"plz", plz},
                                             {"ort", ort}});
}

// One open log row as the writers of the lookup add it.
struct Zeile {
    QString benutzer;
    QVariant preis;
    QDate datum = QDate(2026, 2, 16);
    QVariant uhrzeit = QStringLiteral("09:15");
    QString vorgang = QStringLiteral("Grundstücksdaten");
    QString schluessel = QStringLiteral("06412000");
    QVariant objekt = QStringLiteral("60311 Frankfurt am Main - Zeil 5");
    QVariant preisGutachter;
    QVariant offenGutachter;
    QString offen = QStringLiteral("ja");
};

inline qint64 zeile(const Datenbank& db, const Zeile& z) {
    return db.einfuegen("abfrageprotokoll", {{"datum", z.datum},
                                             {"uhrzeit", z.uhrzeit},
                                             {"vorgang", z.vorgang},
                                             {"pc_benutzer", z.benutzer.toUpper()},
                                             {"db_benutzer", z.benutzer},
                                             {"objekt", z.objekt},
                                             {"gemeindeschluessel", z.schluessel},
                                             {"computername", QStringLiteral("PC-TEST")},
                                             {"offen", z.offen},
                                             {"preis", z.preis},
                                             {"preis_gutachter", z.preisGutachter},
                                             {"offen_gutachter", z.offenGutachter}});
}

inline qint64 zeile(const Datenbank& db, const QString& benutzer, const QVariant& preis) {
    Zeile z;
    z.benutzer = benutzer;
    z.preis = preis;
    return zeile(db, z);
}

// The golden file's path in tests/daten, or empty when it is missing.
inline QString goldenPfad(const QString& name) {
    const QString pfad = QStringLiteral(TALU_TEST_DATEN "/") + name;
    return QFile::exists(pfad) ? pfad : QString();
}

inline QString goldenText(const QString& pfad) {
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

}  // namespace talu::test

// Compares a document with its golden file line by line: text, bold flag,
// page breaks and job ends. With TALU_GOLDEN_AUSGABE=DIR the rendered text is
// also written there, for review when the layout changes on purpose.
#define TALU_GOLDEN(dokument, name)                                                                      \
    do {                                                                                                 \
        const QString ist_ = talu::druck::alsText(dokument);                                             \
        const QString ausgabe_ = qEnvironmentVariable("TALU_GOLDEN_AUSGABE");                             \
        if (!ausgabe_.isEmpty()) {                                                                        \
            QFile f_(ausgabe_ + "/" + (name));                                                           \
            if (f_.open(QIODevice::WriteOnly)) f_.write(ist_.toUtf8());                                  \
        }                                                                                                \
        const QString pfad_ = talu::test::goldenPfad(name);                                             \
        QVERIFY2(!pfad_.isEmpty(), qPrintable(QStringLiteral("Golden-Datei fehlt: daten/") + (name)));    \
        const QStringList soll_ = talu::test::goldenText(pfad_).split('\n');                             \
        const QStringList ist2_ = ist_.split('\n');                                                      \
        for (int i_ = 0; i_ < qMin(soll_.size(), ist2_.size()); ++i_)                                    \
            QVERIFY2(soll_.at(i_) == ist2_.at(i_),                                                       \
                     qPrintable(QStringLiteral("%1, Zeile %2:\n  soll: %3\n  ist:  %4")                   \
                                    .arg(name)                                                            \
                                    .arg(i_ + 1)                                                          \
                                    .arg(soll_.at(i_), ist2_.at(i_))));                                   \
        QCOMPARE(ist2_.size(), soll_.size());                                                            \
    } while (0)
