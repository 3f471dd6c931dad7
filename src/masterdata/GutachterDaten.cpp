#include "masterdata/GutachterDaten.h"

#include "kit/modPublics.h"
#include "db/Datenbank.h"
#include "masterdata/MaskenDaten.h"

namespace talu {

namespace {
Bindung gekuerzt(int index, const char* spalte, int laenge) {
    return Bindung{BoxPlatz{0, index}, QString::fromLatin1(spalte), nullAlsLeerText,
                   [laenge](const QString& t) -> std::optional<QVariant> { return QVariant(t.left(laenge)); }};
}
}  // namespace

const Bindungen& GutachterDaten::bindungen() {
    static const Bindungen b{
        gekuerzt(0, "name", 50),      gekuerzt(1, "strasse", 30),          gekuerzt(2, "plz", 5),
        gekuerzt(3, "ort", 30),       gekuerzt(4, "telefon", 30),          gekuerzt(5, "telefax", 30),
        gekuerzt(6, "email", 100),    gekuerzt(7, "internet", 100),        gekuerzt(8, "abrechnungsmodus", 5),
        gekuerzt(9, "bereich", 20),
    };
    return b;
}

const QStringList& GutachterDaten::feldTexte() {
    static const QStringList t{
        QStringLiteral("Name:"),     QStringLiteral("Strasse:"),          QStringLiteral("PLZ:"),
        QString(),                   QStringLiteral("Telefon / Telefax:"), QString(),
        QStringLiteral("E-Mail:"),   QStringLiteral("Internet:"),         QStringLiteral("Abr.-Mod. / Bereich:"),
        QString(),
    };
    return t;
}

Recordset GutachterDaten::suche(const QString& teil) const {
    if (!Dialekt::suchbar(teil)) return {};
    return m_db.abfrage("select id, name, plz, ort, telefon from gutachter where " +
                            m_db.dialekt().likeOhneFall(QStringLiteral("name")) + " order by name, id",
                        {Dialekt::enthaelt(teil)});
}

QStringList GutachterDaten::lade(double id, bool* gefunden) const {
    return MaskenDaten(m_db, QStringLiteral("gutachter"), bindungen(), kFelder).lade(id, gefunden);
}

double GutachterDaten::speichere(double id, const QStringList& texte) const {
    return MaskenDaten(m_db, QStringLiteral("gutachter"), bindungen(), kFelder).speichere(id, texte);
}

QString GutachterDaten::listenZeile(const Recordset& rs) {
    return talu::listenZeile({rs.text("name"), rs.text("plz"), rs.text("ort"), rs.text("telefon")}, {20, 5, 20, 20});
}

Suchergebnis sucheGutachterDatensatz(const QString& text) {
    Publics& p = publics();
    return sucheDatensaetze(
        p.RsGutachter, text,
        QStringLiteral("Das Datenfeld 'Name des Gutachters' ist ein Mussfeld! Ohne dass es ausgefuellt ist, erfolgt "
                       "keine Suche in der Datenbank."),
        [&](const QString& t) { return GutachterDaten(p.Verbindung).suche(t); });
}

}  // namespace talu
