#include "app/Dialoge.h"

#include <QInputDialog>
#include <QMdiArea>
#include <QMessageBox>
#include <QPushButton>

#include "app/Formen.h"

namespace talu {

namespace {

// A box whose form is hidden or already unloading would open parentless in a
// screen corner; it belongs over the main window then.
QWidget* elternFuer(QWidget* eltern) {
    if (eltern && eltern->isVisible()) return eltern;
    if (QMdiArea* mdi = formen::hauptfenster()) return mdi->window();
    return eltern;
}

class EchteDialoge : public Dialoge {
public:
    void meldung(QWidget* eltern, Symbol symbol, const QString& titel, const QString& text,
                 const QString& details) override {
        QMessageBox box(elternFuer(eltern));
        switch (symbol) {
            case Symbol::Keins: box.setIcon(QMessageBox::NoIcon); break;
            case Symbol::Information: box.setIcon(QMessageBox::Information); break;
            case Symbol::Kritisch: box.setIcon(QMessageBox::Critical); break;
            case Symbol::Warnung: box.setIcon(QMessageBox::Warning); break;
            case Symbol::Frage: box.setIcon(QMessageBox::Question); break;
        }
        // An empty title must stay empty rather than fall back to the program name.
        box.setWindowTitle(titel.isEmpty() ? QStringLiteral(" ") : titel);
        box.setText(text);
        if (!details.isEmpty()) box.setDetailedText(details);
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    }
    bool frageJaNein(QWidget* eltern, const QString& titel, const QString& text) override {
        QMessageBox box(QMessageBox::Question, titel.isEmpty() ? QStringLiteral(" ") : titel, text,
                        QMessageBox::Yes | QMessageBox::No, elternFuer(eltern));
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
        return box.exec() == QMessageBox::Yes;
    }
    QString eingabe(QWidget* eltern, const QString& aufforderung, const QString& titel,
                    const QString& vorgabe) override {
        QInputDialog d(elternFuer(eltern));
        d.setWindowTitle(titel.isEmpty() ? QStringLiteral(" ") : titel);
        d.setLabelText(aufforderung);
        d.setTextValue(vorgabe);
        d.setOkButtonText(QStringLiteral("OK"));
        d.setCancelButtonText(QStringLiteral("Abbrechen"));
        if (d.exec() != QDialog::Accepted) return {};
        return d.textValue();
    }
};

EchteDialoge g_echte;
Dialoge* g_aktuell = nullptr;

}  // namespace

Dialoge& dialoge() { return g_aktuell ? *g_aktuell : g_echte; }
void setzeDialoge(Dialoge* d) { g_aktuell = d; }

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

bool DialogAufzeichnung::frageJaNein(QWidget*, const QString&, const QString& text) {
    fragen << text;
    return jaAntworten.isEmpty() ? false : jaAntworten.takeFirst();
}

QString DialogAufzeichnung::eingabe(QWidget*, const QString& aufforderung, const QString&, const QString&) {
    aufforderungen << aufforderung;
    return eingaben.isEmpty() ? QString() : eingaben.takeFirst();
}

QStringList DialogAufzeichnung::texte() const {
    QStringList l;
    for (const Meldung& m : meldungen) l << m.text;
    return l;
}

void DialogAufzeichnung::leeren() {
    meldungen.clear();
    fragen.clear();
    aufforderungen.clear();
    jaAntworten.clear();
    eingaben.clear();
}

}  // namespace talu
