#include "plot/ui/frmGrundstueckMaske.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/ui/Seitenwechsel.h"
#include "kit/modPublics.h"
#include "kit/ui/FeldArray.h"
#include "billing/ui/DruckerAusgabe.h"
#include "plot/GrundstueckDaten.h"
#include "plot/WerteKopieren.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmGrundstueckMaske> reg;

QLineEdit* neuesFeld(QWidget* eltern, const QString& name) {
    auto* f = new QLineEdit(eltern);
    f->setObjectName(name);
    return f;
}

QString merkerDatei() { return programmDatei(QStringLiteral("merker.txt")); }

// One caption and its boxes with their relative widths.
void zeile(QGridLayout* raster, int r, QLabel* caption, const QList<QPair<QLineEdit*, int>>& felder) {
    raster->addWidget(caption, r, 0);
    auto* reihe = new QHBoxLayout;
    for (const auto& [feld, breite] : felder) reihe->addWidget(feld, breite);
    raster->addLayout(reihe, r, 1);
}
}  // namespace

frmGrundstueckMaske::frmGrundstueckMaske(QWidget* parent) : Formular(parent) {
    setWindowTitle(QStringLiteral(" "));
    SSTab1 = new QTabWidget(this);
    auto* seite1 = new QWidget;
    auto* seite2 = new QWidget;
    SSTab1->addTab(seite1, GrundstueckMaskeLogik::seitenTitel(1));
    SSTab1->addTab(seite2, GrundstueckMaskeLogik::seitenTitel(2));

    for (int i = 0; i < GrundstueckMaskeLogik::kText1; ++i) text_1 << neuesFeld(seite1, QString("text_1_%1").arg(i));
    for (int i = 0; i < GrundstueckMaskeLogik::kText2; ++i) text_2 << neuesFeld(seite2, QString("text_2_%1").arg(i));
    // Five digits and a little room: the postcode box is a narrow one.
    text_1[0]->setFixedWidth(text_1[0]->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + twips(200));

    // Captions and rows as the logic describes them; the extract prints the same.
    using L = GrundstueckMaskeLogik;
    for (int i = 0; i < int(L::zeilen().size()); ++i) label << new QLabel(L::caption(i), this);
    // Relative widths of the boxes in their row: a narrow postcode, a wide street.
    auto breite = [](int feld, int box) {
        if (feld != 1) return 1;
        switch (box) {
            case 0: return 0;
            case 1: case 2: return 3;
            case 3: return 4;
            default: return 1;
        }
    };
    auto* r1 = new QGridLayout(seite1);
    auto* r2 = new QGridLayout(seite2);
    int reihe1 = 0, reihe2 = 0;
    for (const L::Zeile& z : L::zeilen()) {
        QList<QPair<QLineEdit*, int>> felder;
        for (int b : z.boxen) felder << qMakePair((z.feld == 1 ? text_1 : text_2)[b], breite(z.feld, b));
        if (z.feld == 1)
            zeile(r1, reihe1++, label[z.label], felder);
        else
            zeile(r2, reihe2++, label[z.label], felder);
    }
    r1->setRowStretch(reihe1, 1);
    r2->setRowStretch(reihe2, 1);

    cmdRueckwaerts = new QPushButton(QStringLiteral("Rückwärts"), this);
    cmdVorwaerts = new QPushButton(QStringLiteral("Vorwärts"), this);
    cmdOrte = new QPushButton(QStringLiteral("Stadt suchen"), this);
    cmdWerteKopieren = new QPushButton(QStringLiteral("Werte k."), this);
    cmdLoeschen = new QPushButton(QStringLiteral("&Löschen"), this);
    cmdSpeichern = new QPushButton(QStringLiteral("&Speichern"), this);
    cmdAuskunftDrucken = new QPushButton(QStringLiteral("Auskunft &drucken"), this);
    cmdZurueck = new QPushButton(QStringLiteral("&Zurück"), this);
    cmdSpeichern->setToolTip(QStringLiteral("Abspeichern der Daten"));
    cmdAuskunftDrucken->setToolTip(QStringLiteral("Bodenrichtwertauskunft dieses Grundstücks drucken (F8)"));
    cmdZurueck->setToolTip(QStringLiteral("Schliessen dieses Fensters"));
    auto* knoepfe = new QHBoxLayout;
    for (QPushButton* b : {cmdRueckwaerts, cmdVorwaerts, cmdOrte, cmdWerteKopieren, cmdLoeschen, cmdSpeichern,
                           cmdAuskunftDrucken, cmdZurueck}) {
        b->setAutoDefault(false);
        // The extract is offered in every edition; the edit buttons only where Load shows them.
        if (b != cmdZurueck && b != cmdAuskunftDrucken) b->setVisible(false);
        knoepfe->addWidget(b);
    }
    knoepfe->insertStretch(7);

    auto* aussen = new QVBoxLayout(this);
    aussen->addWidget(SSTab1);
    aussen->addLayout(knoepfe);

    connect(cmdVorwaerts, &QPushButton::clicked, this, &frmGrundstueckMaske::cmdVorwaerts_Click);
    connect(cmdRueckwaerts, &QPushButton::clicked, this, &frmGrundstueckMaske::cmdRueckwaerts_Click);
    connect(cmdOrte, &QPushButton::clicked, this, &frmGrundstueckMaske::cmdOrte_Click);
    connect(cmdZurueck, &QPushButton::clicked, this, &frmGrundstueckMaske::cmdZurueck_Click);
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmGrundstueckMaske::SSTab1_Click);
    // "Zusatzdaten" is reached by keyboard too (Ctrl+Tab, Ctrl+PgDown).
    richteSeitenwechselEin(SSTab1, this);
    connect(cmdSpeichern, &QPushButton::clicked, this, &frmGrundstueckMaske::cmdSpeichern_Click);
    connect(cmdWerteKopieren, &QPushButton::clicked, this, &frmGrundstueckMaske::cmdWerteKopieren_Click);
    connect(cmdLoeschen, &QPushButton::clicked, this, &frmGrundstueckMaske::cmdLoeschen_Click);
    connect(cmdAuskunftDrucken, &QPushButton::clicked, this, &frmGrundstueckMaske::cmdAuskunftDrucken_Click);
    taste(QKeySequence(Qt::Key_F8), [this] { cmdAuskunftDrucken_Click(); });
    for (int i = 0; i < text_1.size(); ++i)
        if (const int n = GrundstueckMaskeLogik::hoechstLaenge(1, i)) text_1[i]->setMaxLength(n);
    for (int i = 0; i < text_2.size(); ++i)
        if (const int n = GrundstueckMaskeLogik::hoechstLaenge(2, i)) text_2[i]->setMaxLength(n);

    // Wide enough for the longest code text ("Gewerbegebiet (Dienstleistungen)") in its box.
    setMinimumWidth(twips(11400));
    resize(twips(11400), twips(5400));
    Form_Load();
}

void frmGrundstueckMaske::strassenEintragZeigen(bool ja) {
    // A street record has no house number: the street box takes its place.
    text_1[4]->setVisible(!ja);
    label[2]->setText(GrundstueckMaskeLogik::strassenCaption(ja));
}

void frmGrundstueckMaske::Form_Load() {
    Publics& p = publics();
    m_bearbeitung = p.Ausgabe == 1 || p.Ausgabe == 2;
    m_logik.SchrittVor = m_logik.SchrittZurueck = false;

    if (!m_bearbeitung) {
        // The customer edition shows the plot read-only; only "&Zurück" takes the focus.
        for (QLineEdit* f : text_1 + text_2) {
            f->setReadOnly(true);
            f->setFocusPolicy(Qt::NoFocus);
            FeldArray::setzeFarben(f, false);
        }
        strassenEintragZeigen(p.StrassenEintrag);
        LadeGrundstueck();
        setzeStartfeld(cmdZurueck);
        return;
    }

    m_felder1 = new FeldArray(text_1, this, FeldArray::KeinJaNeinFeld);
    m_felder2 = new FeldArray(text_2, this, FeldArray::KeinJaNeinFeld);
    connect(m_felder1, &FeldArray::feldVerlassen, this, &frmGrundstueckMaske::text_1_LostFocus);
    connect(m_felder2, &FeldArray::feldVerlassen, this, &frmGrundstueckMaske::text_2_LostFocus);
    m_felder1->setzeTastenHook([this](int index, QKeyEvent* t) { return text_1_KeyDown(index, t); });
    // A land value that is no amount is refused where it is typed; "Zurück" still closes the form.
    m_felder1->setzePruefung([](int index, const QString& text) { return GrundstueckMaskeLogik::betragFehler(1, index, text); });
    m_felder1->ohnePruefungZu(cmdZurueck);

    const bool neu = p.Modus == QStringLiteral("erfassen");
    if (neu) {
        cmdWerteKopieren_Click();
        m_erstesFeld = text_1[0];
        text_1[0]->setFocus();
        text_1[0]->selectAll();
    } else {
        strassenEintragZeigen(p.StrassenEintrag);
        LadeGrundstueck();
        for (int i = 0; i <= 2; ++i) text_1[i]->setReadOnly(true);
        m_erstesFeld = text_1[9];
        text_1[9]->setFocus();
    }
    // The form registry gives the focus to the form as a whole once it is
    // shown: it goes on to the start box, or to the first box of the page
    // shown (the town district once postcode and place are locked).
    setzeFokusziel(this, [this]() -> QWidget* {
        if (SSTab1->currentIndex() == 1) return text_2[0];
        if (m_erstesFeld == text_1[0] && !text_1[0]->isEnabled()) return text_1[2];
        return m_erstesFeld;
    });
    cmdSpeichern->setVisible(true);
    cmdWerteKopieren->setVisible(true);
    cmdLoeschen->setVisible(true);
    cmdOrte->setVisible(neu);
    cmdVorwaerts->setVisible(!neu);
    cmdRueckwaerts->setVisible(!neu);
}

void frmGrundstueckMaske::zeigeTexte() {
    for (int i = 0; i < text_1.size(); ++i)
        if (text_1[i]->text() != m_logik.text_1[i]) text_1[i]->setText(m_logik.text_1[i]);
    for (int i = 0; i < text_2.size(); ++i)
        if (text_2[i]->text() != m_logik.text_2[i]) text_2[i]->setText(m_logik.text_2[i]);
    for (QLineEdit* f : text_1 + text_2) f->setCursorPosition(0);
}

void frmGrundstueckMaske::holeTexte() {
    for (int i = 0; i < text_1.size(); ++i) m_logik.text_1[i] = text_1[i]->text();
    for (int i = 0; i < text_2.size(); ++i) m_logik.text_2[i] = text_2[i]->text();
}

void frmGrundstueckMaske::FelderLeeren() {
    holeTexte();
    m_logik.FelderLeeren();
    zeigeTexte();
}

void frmGrundstueckMaske::FarbenZuruecksetzen() {
    for (QLineEdit* f : text_1 + text_2) FeldArray::setzeFarben(f, false);
    if (text_1[2]->isEnabled()) text_1[2]->setFocus();
}

void frmGrundstueckMaske::LadeGrundstueck() {
    holeTexte();
    QList<Meldung> meldungen;
    if (!mitDatenbank(QStringLiteral("Das Grundstück konnte nicht gelesen werden."),
                      [&] { meldungen = m_logik.LadeGrundstueck(publics()); }))
        m_logik.FelderLeeren();
    zeigeTexte();
    for (const Meldung& m : meldungen) zeige(this, m);
}

void frmGrundstueckMaske::cmdVorwaerts_Click() {
    m_logik.SchrittVor = true;
    m_logik.SchrittZurueck = false;
    LadeGrundstueck();
    text_1[9]->setFocus();
}

void frmGrundstueckMaske::cmdRueckwaerts_Click() {
    m_logik.SchrittVor = false;
    m_logik.SchrittZurueck = true;
    LadeGrundstueck();
    text_1[9]->setFocus();
}

void frmGrundstueckMaske::cmdOrte_Click() {
    if (m_inOrtSuche) return;
    m_inOrtSuche = true;
    holeTexte();
    Publics& p = publics();
    Meldung meldung;
    auto ergebnis = GrundstueckMaskeLogik::OrtSuche::KeineEingabe;
    if (!mitDatenbank(QStringLiteral("Die Ortssuche ist fehlgeschlagen."),
                      [&] { ergebnis = m_logik.OrtFuerNeuesGrundstueckSuchen(p, &meldung); })) {
        m_inOrtSuche = false;
        return;
    }
    switch (ergebnis) {
        case GrundstueckMaskeLogik::OrtSuche::KeineEingabe:
            m_ortSperren = false;
            zeige(this, meldung);
            break;
        case GrundstueckMaskeLogik::OrtSuche::KeinTreffer:
            // The boxes stay open, so that the operator can correct the postcode or name.
            m_ortSperren = false;
            zeige(this, meldung);
            text_1[0]->setFocus();
            break;
        case GrundstueckMaskeLogik::OrtSuche::MehrereTreffer:
            // The selection list fills the place in through OrtUebernehmen.
            verstecke();
            formen::zurueck("frmAuswaehlen");
            break;
        case GrundstueckMaskeLogik::OrtSuche::EinTreffer:
            formen::zeige<frmGrundstueckMaske>();
            OrtUebernehmen();
            break;
    }
    m_inOrtSuche = false;
}

void frmGrundstueckMaske::OrtUebernehmen() {
    holeTexte();
    m_logik.OrtUebernehmen(publics());
    zeigeTexte();
    if (m_ortSperren) {
        for (int i : {0, 1}) {
            text_1[i]->deselect();
            text_1[i]->setCursorPosition(0);
            text_1[i]->setEnabled(false);
        }
        m_ortSperren = false;
    }
    text_1[2]->setFocus();
    formen::fokusSpaeter(text_1[2]);
}

void frmGrundstueckMaske::text_1_LostFocus(int index) {
    if (m_inOrtSuche) return;
    const Publics& p = publics();
    const bool neu = p.Modus == QStringLiteral("erfassen");
    if (index == 0) {
        const QString plz = text_1[0]->text().trimmed();
        if (!text_1[1]->text().isEmpty() || plz.isEmpty()) return;
        if (GrundstueckMaskeLogik::PlzUngueltig(plz)) {
            m_inOrtSuche = true;
            meldeInfo(this, QStringLiteral("Die PLZ muss exakt fuenfstellig sein!"), QStringLiteral("Information"));
            m_inOrtSuche = false;
            text_1[0]->setFocus();
        } else if (neu) {
            m_ortSperren = true;
            cmdOrte_Click();
        }
        return;
    }
    if (index == 1) {
        if (text_1[0]->text().trimmed().isEmpty() && !text_1[1]->text().trimmed().isEmpty() && neu) {
            m_ortSperren = true;
            cmdOrte_Click();
        }
        return;
    }
    const QString neuerText = GrundstueckMaskeLogik::textNachVerlassen(1, index, text_1[index]->text());
    if (neuerText != text_1[index]->text()) text_1[index]->setText(neuerText);
}

void frmGrundstueckMaske::text_2_LostFocus(int index) {
    const QString neuerText = GrundstueckMaskeLogik::textNachVerlassen(2, index, text_2[index]->text());
    if (neuerText != text_2[index]->text()) text_2[index]->setText(neuerText);
}

bool frmGrundstueckMaske::text_1_KeyDown(int index, QKeyEvent* taste) {
    switch (taste->key()) {
        case Qt::Key_F2:
            WerteAufStrasseKopieren();
            return true;
        case Qt::Key_F10:
            WerteAufOrtKopieren();
            return true;
        case Qt::Key_F12:
            StrasseLoeschen();
            return true;
        case Qt::Key_F4:
            text_1[14]->setText(QStringLiteral("Keine Bodenrichtwertangabe vom GAG"));
            return true;
        case Qt::Key_Up:
            // From the first row the cursor wraps to the last box.
            if (index < 3) {
                m_felder1->bewege(0, -1);
                return true;
            }
            return false;
        default:
            return false;
    }
}

void frmGrundstueckMaske::SSTab1_Click(int seite) {
    if (!m_bearbeitung) return;
    if (seite == 0)
        (text_1[0]->isEnabled() ? text_1[0] : text_1[2])->setFocus();
    else
        text_2[0]->setFocus();
}

void frmGrundstueckMaske::cmdZurueck_Click() { entlade(); }

void frmGrundstueckMaske::zeigeVersteckt(const Meldung& m) {
    verstecke();
    zeige(this, m);
    formen::zeige<frmGrundstueckMaske>();
}

void frmGrundstueckMaske::cmdSpeichern_Click() {
    FarbenZuruecksetzen();
    // A land value that was just refused on being left has said why; the save waits for it.
    if (m_felder1 && m_felder1->abgewiesen() >= 0) return;
    holeTexte();
    Publics& p = publics();
    QList<Meldung> meldungen;
    bool gespeichert = false;
    int fokus = 9;
    if (!mitDatenbank(QStringLiteral("Der Datensatz wurde nicht gespeichert."), [&] {
            meldungen = m_logik.Speichern(p, merkerDatei(), &gespeichert, &fokus);
        }))
        return;
    if (!gespeichert) {
        // A failed check: nothing was written.
        for (const Meldung& m : meldungen) zeigeVersteckt(m);
    } else {
        for (const Meldung& m : meldungen) zeige(this, m);
        cmdOrte->setVisible(false);
        // The stored plot can be stepped from like any other.
        cmdVorwaerts->setVisible(true);
        cmdRueckwaerts->setVisible(true);
        FarbenZuruecksetzen();
    }
    text_1[fokus]->setFocus();
    formen::fokusSpaeter(text_1[fokus]);
}

void frmGrundstueckMaske::cmdWerteKopieren_Click() {
    holeTexte();
    const auto meldung = m_logik.WerteKopieren(merkerDatei(),
                                               publics().Modus == QStringLiteral("erfassen"));
    zeigeTexte();
    if (meldung) zeige(this, *meldung);
}

qint64 frmGrundstueckMaske::gespeicherteId() const {
    return publics().Modus == QStringLiteral("erfassen") ? 0 : qint64(m_logik.GrundstueckId);
}

void frmGrundstueckMaske::cmdLoeschen_Click() {
    if (!dialoge().frageJaNein(this, QString(),
                               QStringLiteral("Sind Sie sicher, dass die aktuellen Grundstücksdaten gelöscht werden soll?"),
                               Dialoge::Symbol::Keins))
        return;
    const qint64 id = gespeicherteId();
    if (id > 0 && !mitDatenbank(QStringLiteral("Das Grundstück wurde nicht gelöscht."),
                                [&] { GrundstueckDaten(publics().Verbindung).loesche(id); }))
        return;
    meldeInfo(this, QStringLiteral("Die aktuelle Strasse wurde gelöscht! Aus Gründen der Datenbank-Aktualisierung "
                                   "wird dieses Fenster nun geschlossen!"));
    entlade();
}

void frmGrundstueckMaske::cmdAuskunftDrucken_Click() {
    // The default printer, or a PDF file in the print folder where there is none.
    druck::DruckerZiel ziel(druck::standardAblage());
    Meldung meldung;
    if (!mitDatenbank(QStringLiteral("Die Bodenrichtwertauskunft wurde nicht gedruckt."),
                      [&] { meldung = m_logik.AuskunftDrucken(publics().Verbindung, ziel); }))
        return;
    zeige(this, meldung);
}

void frmGrundstueckMaske::WerteAufStrasseKopieren() { kopiereWerte(false); }
void frmGrundstueckMaske::WerteAufOrtKopieren() { kopiereWerte(true); }

void frmGrundstueckMaske::kopiereWerte(bool ganzerOrt) {
    const QString frage =
        ganzerOrt ? QStringLiteral("Wollen Sie wirklich die Werte dieses Grundstücks auf alle Grundstücke dieses Ortes kopieren?")
                  : QStringLiteral("Wollen Sie wirklich die Werte dieses Grundstücks auf alle Grundstücke dieser Strasse kopieren?");
    // A new plot has no stored values yet to copy from.
    const qint64 id = gespeicherteId();
    if (id <= 0) return;
    if (!dialoge().frageJaNein(this, QString(), frage)) return;
    QLabel* panel = formen::statusfeld(7);
    stapel::AnzeigeFunktion zaehler([panel](qint64 erledigt, qint64, const QString&) {
        if (!panel) return;
        panel->setText(QString::number(erledigt));
        panel->repaint();
    });
    qint64 anzahl = 0;
    stapel::Ergebnis e;
    {
        const Sanduhr sanduhr;
        e = talu::kopiereWerte(publics().Verbindung, id,
                               ganzerOrt ? GrundstueckDaten::Bereich::Ort : GrundstueckDaten::Bereich::Strasse,
                               zaehler, &anzahl);
    }
    if (panel) panel->setText(verbindungsText(publics()));
    if (e.status != stapel::Ergebnis::Status::Fertig) {
        zeige(this, datenbankMeldung(e.meldung, e.serverText));
        return;
    }
    if (anzahl == 0) return;  // the plot was deleted meanwhile: nothing to copy
    meldeInfo(this, "Der Kopiervorgang ist abgeschlossen, es wurden " + QString::number(anzahl) +
                        " Grundstücke ausgefüllt!");
}

void frmGrundstueckMaske::StrasseLoeschen() {
    // A new plot belongs to no stored street yet.
    const qint64 id = gespeicherteId();
    if (id <= 0) return;
    if (!dialoge().frageJaNein(this, QString(),
                               QStringLiteral("Wollen Sie wirklich alle Grundstücke dieser Strasse löschen?")))
        return;
    // Reported once the server has done it, so that a failure is never announced as sent.
    if (!mitDatenbank(QStringLiteral("Die Strasse wurde nicht gelöscht."),
                      [&] { GrundstueckDaten(publics().Verbindung).loescheStrasseVon(id); }))
        return;
    meldeInfo(this, QStringLiteral("Der Löschbefehl wurde an den Server geschickt!"));
}

// Unload: a plot of a lookup goes back to the information groups of its place.
void frmGrundstueckMaske::beimEntladen() {
    Publics& p = publics();
    if (p.OrtFuerNeuesGrundstueck) {
        p.OrtFuerNeuesGrundstueck = false;
        return;
    }
    if (!schliesstAlle()) formen::zurueck("frmInformationsGruppen");
}

}  // namespace talu
