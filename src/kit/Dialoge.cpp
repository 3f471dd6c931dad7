#include "kit/Dialoge.h"

#include <QTextStream>

namespace talu {

namespace {

// Without a screen (command-line tools): messages go to standard error and
// every question is answered No, so nothing is confirmed unattended.
class DialogeOhneBildschirm : public Dialoge {
public:
    void meldung(QWidget*, Symbol, const QString& titel, const QString& text, const QString& details) override {
        QTextStream err(stderr);
        if (!titel.trimmed().isEmpty()) err << titel << ": ";
        err << text << "\n";
        if (!details.isEmpty()) err << details << "\n";
    }
    bool frageJaNein(QWidget*, const QString&, const QString& text, Symbol) override {
        QTextStream(stderr) << text << " -> Nein\n";
        return false;
    }
    QString eingabe(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
};

DialogeOhneBildschirm g_ohne;
Dialoge* g_standard = nullptr;
Dialoge* g_aktuell = nullptr;
int g_sanduhren = 0;

}  // namespace

Dialoge& dialoge() {
    if (g_aktuell) return *g_aktuell;
    return g_standard ? *g_standard : g_ohne;
}
void setzeDialoge(Dialoge* d) { g_aktuell = d; }
void setzeStandardDialoge(Dialoge* d) { g_standard = d; }

Sanduhr::Sanduhr() {
    dialoge().sanduhr(true);
    m_an = true;
    ++g_sanduhren;
}

Sanduhr::~Sanduhr() { aus(); }

void Sanduhr::aus() {
    if (!m_an) return;
    m_an = false;
    --g_sanduhren;
    dialoge().sanduhr(false);
}

bool Sanduhr::laeuft() { return g_sanduhren > 0; }

void zeige(QWidget* eltern, const Meldung& m) {
    dialoge().meldung(eltern, m.art == Meldung::Kritisch ? Dialoge::Symbol::Kritisch : Dialoge::Symbol::Information,
                      m.titel, m.text, m.details);
}

Meldung datenbankMeldung(const QString& kurz, const QString& serverText, const QString& details) {
    return {Meldung::Kritisch, QString(), kurz + "\n\n" + serverText, details};
}

void meldeInfo(QWidget* eltern, const QString& text, const QString& titel) {
    dialoge().meldung(eltern, Dialoge::Symbol::Information, titel, text);
}

void meldeKritisch(QWidget* eltern, const QString& text, const QString& titel, const QString& details) {
    dialoge().meldung(eltern, Dialoge::Symbol::Kritisch, titel, text, details);
}

DialogAufzeichnung::DialogAufzeichnung() : m_vorher(g_aktuell) { setzeDialoge(this); }
DialogAufzeichnung::~DialogAufzeichnung() { setzeDialoge(m_vorher); }

void DialogAufzeichnung::meldung(QWidget*, Symbol symbol, const QString& titel, const QString& text,
                                 const QString& details) {
    meldungen.append({symbol, titel, text, details});
}

bool DialogAufzeichnung::frageJaNein(QWidget*, const QString&, const QString& text, Symbol symbol) {
    fragen << text;
    fragenSymbole << symbol;
    return jaAntworten.isEmpty() ? false : jaAntworten.takeFirst();
}

void DialogAufzeichnung::sanduhr(bool an) {
    if (an) ++sanduhren;
}

QString DialogAufzeichnung::eingabe(QWidget*, const QString& aufforderung, const QString&, const QString&) {
    aufforderungen << aufforderung;
    return eingaben.isEmpty() ? QString() : eingaben.takeFirst();
}

QStringList DialogAufzeichnung::texte() const {
    QStringList l;
    for (const Gezeigt& m : meldungen) l << m.text;
    return l;
}

void DialogAufzeichnung::leeren() {
    meldungen.clear();
    fragen.clear();
    fragenSymbole.clear();
    aufforderungen.clear();
    jaAntworten.clear();
    eingaben.clear();
}

}  // namespace talu
