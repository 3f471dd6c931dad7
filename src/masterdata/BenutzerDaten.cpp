#include "masterdata/BenutzerDaten.h"

#include "kit/modPublics.h"
#include "db/Datenbank.h"
#include "masterdata/MaskenDaten.h"

namespace talu {

namespace {
Bindung ganz(int index, const char* spalte) {
    return Bindung{BoxPlatz{0, index}, QString::fromLatin1(spalte), nullAlsLeerText,
                   [](const QString& t) -> std::optional<QVariant> { return QVariant(t); }};
}
}  // namespace

QString BenutzerDaten::schreibmodusAnzeige(const QVariant& gespeichert) {
    const QString t = gespeichert.isNull() ? QString() : gespeichert.toString().toLower();
    if (t == QLatin1String("j")) return QStringLiteral("Ja");
    if (t == QLatin1String("n")) return QStringLiteral("Nein");
    return {};
}

QString BenutzerDaten::schreibmodusSpeichern(const QString& text) { return text.left(1).toUpper(); }

const Bindungen& BenutzerDaten::bindungen() {
    static const Bindungen b{
        ganz(0, "name"),
        ganz(1, "strasse"),
        ganz(2, "plz"),
        ganz(3, "ort"),
        ganz(4, "telefon"),
        ganz(5, "telefax"),
        ganz(6, "email"),
        ganz(7, "ansprechpartner"),
        ganz(8, "durchwahl"),
        ganz(9, "abrechnungsmodus"),
        ganz(10, "account"),
        Bindung{BoxPlatz{0, 11}, QStringLiteral("schreibmodus"), schreibmodusAnzeige,
                [](const QString& t) -> std::optional<QVariant> { return QVariant(schreibmodusSpeichern(t)); }},
    };
    return b;
}

const QStringList& BenutzerDaten::feldTexte() {
    static const QStringList t{
        QStringLiteral("Name:"),    QStringLiteral("Strasse:"),           QStringLiteral("PLZ / Ort:"),
        QString(),                  QStringLiteral("Telefon / Telefax:"), QString(),
        QStringLiteral("EMail:"),   QStringLiteral("Partner / Durchwahl:"), QString(),
        QStringLiteral("Modus/Account/Edit:"), QString(), QString(),
    };
    return t;
}

Recordset BenutzerDaten::suche(const QString& teil) const {
    if (!Dialekt::suchbar(teil)) return {};
    return m_db.abfrage("select id, name, plz, ort, telefon from benutzer where " +
                            m_db.dialekt().likeOhneFall(QStringLiteral("name")) + " order by name, id",
                        {Dialekt::enthaelt(teil)});
}

QStringList BenutzerDaten::lade(double id, bool* gefunden) const {
    return MaskenDaten(m_db, QStringLiteral("benutzer"), bindungen(), kFelder).lade(id, gefunden);
}

double BenutzerDaten::speichere(double id, const QStringList& texte) const {
    return MaskenDaten(m_db, QStringLiteral("benutzer"), bindungen(), kFelder).speichere(id, texte);
}

QString BenutzerDaten::listenZeile(const Recordset& rs) {
    return talu::listenZeile({rs.text("name"), rs.text("plz"), rs.text("ort"), rs.text("telefon")}, {20, 5, 20, 20});
}

Suchergebnis sucheBenutzerDatensatz(const QString& text) {
    Publics& p = publics();
    return sucheDatensaetze(
        p.RsBenutzer, text,
        QStringLiteral("Das Datenfeld 'Name des Benutzer' ist ein Mussfeld! Ohne dass es ausgefuellt ist, erfolgt "
                       "keine Suche in der Datenbank."),
        [&](const QString& t) { return BenutzerDaten(p.Verbindung).suche(t); });
}

}  // namespace talu
