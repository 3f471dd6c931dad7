#include "place/ui/frmStadtMaske.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
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
#include "db/Datenbank.h"
#include "lookup/AbfrageProtokoll.h"
#include "kit/ui/FeldArray.h"
#include "masterdata/ui/frmGutachterAuswahl.h"
#include "masterdata/ui/frmKreis.h"
#include "place/OrtFormate.h"

namespace talu {

namespace {

formen::RegistrierungVon<frmStadtMaske> reg;

struct Zeile {
    const char* beschriftung;
    QVector<int> boxen;
};

struct Seite {
    const char* titel;
    int feld;
    QVector<Zeile> zeilen;
};

const QVector<Zeile> kZone{
    {"Baul. Nutz. / Entw.-Zust.:", {0, 1}},   {"Bauweise / GFZ / ADG:", {2, 3, 4}},
    {"Tiefe / Fläche / Beitragspfl.:", {5, 6, 7}}, {"BRW-Minimal / Durchschn.:", {8, 9}},
    {"BRW-Maximal / Tats.:", {10, 11}},       {"Bemerkung:", {12}},
    {"EST / Richtwertyp:", {13, 14}},         {"Quellenangabe:", {15}},
};

const QVector<Seite>& seiten() {
    static const QVector<Seite> s{
        {"Ortsdaten", 1,
         {{"PLZ / Stadt:", {0, 1}},
          {"Kreis / Reg.-Bezirk:", {2, 3}},
          {"Bundesland / Gemeindeschl.:", {4, 5}},
          {"Einwohner 1980 / 2001:", {6, 7}},
          {"Grad. Not. / UMT-Koord.:", {8, 9}},
          {"Ortstyp / Fläche:", {10, 11}},
          {"Bemerkung:", {12}},
          {"Grün- / Acker- / Forstland:", {13, 14, 15}},
          {"Gutachter / EST:", {16, 17}}}},
        {"Wohngebiet", 2, kZone},
        {"Mischgebiet", 3, kZone},
        {"Gewerbegebiet", 4, kZone},
        {"Gutachterdaten", 5,
         {{"Name:", {0}}, {"Strasse:", {1}}, {"PLZ:", {2, 3}}, {"Telefon / Telefax:", {4, 5}},
          {"E-Mail / Internet:", {6, 7}}}},
        {"BA, LA, KA", 6,
         {{"Bauamt:", {0}}, {"Telefon / Telefax:", {1}}, {"Bemerkung:", {2}},
          {"Liegenschaftsamt:", {3}}, {"Telefon / Telefax:", {4}}, {"Bemerkung:", {5}},
          {"Katasteramt:", {6}}, {"Telefon / Telefax:", {7}}, {"Bemerkung:", {8}}}},
        {"LA, Gemeinde", 7,
         {{"Landratsamt:", {0}}, {"Ort / Strasse:", {1}}, {"Telefon / Telefax:", {2}}, {"Mail:", {3}},
          {"Gemeinde:", {4}}, {"Telefon / Telefax:", {5}}, {"Mail:", {6}}, {"Bemerkung:", {7}}}},
        {"Gerichte", 8,
         {{"Amtsgericht:", {0}}, {"Telefon / Telefax:", {1}}, {"Landgericht:", {2}},
          {"Telefon / Telefax:", {3}}, {"Oberlandesgericht:", {4}}, {"Telefon / Telefax:", {5}},
          {"Verwaltungsgericht:", {6}}, {"Telefon / Telefax:", {7}}}},
        {"IHK, AA", 9,
         {{"IHK:", {0}}, {"Telefon / Telefax:", {1}}, {"Arbeitsamt:", {2}}, {"Geschäftstelle:", {3}},
          {"Adresse:", {4}}, {"Dienstgebäude:", {5}}, {"Telefon / Telefax:", {6}}}},
        {"Wirtschaftsinfo", 10,
         {{"Pendler eingehend:", {0}}, {"Pendler ausgehend:", {1}}, {"Pendler Jahr:", {2}},
          {"Quellenangabe:", {8}}, {"Hebesatz:", {3}}, {"Grundsteuer A:", {4}}, {"Grundsteuer B:", {5}},
          {"Grundsteuer Jahr:", {6}}, {"Quellenangabe:", {7}}}},
        {"Arbeitslose", 11,
         {{"Überschrift:", {0}}, {"Bemerkung:", {1}}, {"Arbeitslosenquote:", {2}}, {"Quellenangabe:", {3}}}},
        {"Infrastruktur", 12,
         {{"Stadt / Bundesstr.:", {0, 1}},
          {"BAB / Bahnhof:", {2, 3}},
          {"ICE-Bahnh. / Flugh.:", {4, 5}},
          {"Krankenhaus / Altersheim:", {6, 7}},
          {"Bad / Sen.-Wohnanl.:", {8, 9}},
          {"Anz. Kindergarten / Schulen:", {10, 11}},
          {"Gew.Anm. / -Abmeld.:", {12, 13}},
          {"Waldfläche:", {14}}}},
        {"Durchsch.", 13, {}},
    };
    return s;
}

constexpr int kSpalten = 6;  // box columns of a page grid

}  // namespace

frmStadtMaske::frmStadtMaske(QWidget* parent) : Formular(parent), m_text(14) {
    setWindowTitle(QStringLiteral(" "));
    baueSeiten();
    Form_Load();
}

void frmStadtMaske::baueSeiten() {
    auto* haupt = new QVBoxLayout(this);
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName("SSTab1");
    // All thirteen captions stay in view; the form is as wide as they need.
    SSTab1->setUsesScrollButtons(false);
    SSTab1->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 7px; }"));
    haupt->addWidget(SSTab1);

    for (int f = 1; f <= 13; ++f)
        for (int i = 0; i < OrtBoxen::anzahl(f); ++i) {
            auto* le = new QLineEdit;
            le->setObjectName(QString("text_%1(%2)").arg(f).arg(i));
            m_text[f] << le;
        }

    for (const Seite& s : seiten()) {
        auto* frame = new QFrame;
        frame->setObjectName(QString("Frame%1").arg(s.feld));
        auto* g = new QGridLayout(frame);
        g->setHorizontalSpacing(6);
        g->setVerticalSpacing(5);
        if (s.feld == 13) {
            const char* koepfe[] = {"Wohngebiete:", "Mischgebiete:", "Gewerbegebiete:"};
            const char* zeilen[] = {"Ort:", "Kreis:", "Regierungsbezirk:", "Bundesland:"};
            for (int c = 0; c < 3; ++c) g->addWidget(new QLabel(QString::fromUtf8(koepfe[c])), 0, 1 + c);
            for (int r = 0; r < 4; ++r) {
                g->addWidget(new QLabel(QString::fromUtf8(zeilen[r])), r + 1, 0);
                for (int c = 0; c < 3; ++c) g->addWidget(m_text[13][r * 3 + c], r + 1, 1 + c);
            }
            for (int c = 1; c <= 3; ++c) g->setColumnStretch(c, 1);
            g->setRowStretch(5, 1);
        } else {
            int r = 0;
            for (const Zeile& z : s.zeilen) {
                auto* l = new QLabel(QString::fromUtf8(z.beschriftung));
                g->addWidget(l, r, 0);
                const int n = int(z.boxen.size());
                if (s.feld == 1 && z.boxen == QVector<int>{0, 1}) {
                    // The postcode box is narrow; the name takes the rest.
                    g->addWidget(m_text[1][0], r, 1, 1, 1);
                    g->addWidget(m_text[1][1], r, 2, 1, kSpalten - 1);
                } else {
                    const int breite = kSpalten / n;
                    for (int k = 0; k < n; ++k)
                        g->addWidget(m_text[s.feld][z.boxen[k]], r, 1 + k * breite, 1, breite);
                }
                ++r;
            }
            for (int c = 1; c <= kSpalten; ++c) g->setColumnStretch(c, 1);
            g->setRowStretch(r, 1);
        }
        SSTab1->addTab(frame, QString::fromUtf8(s.titel));
    }

    auto* knoepfe = new QHBoxLayout;
    cmdSpeichern = new QPushButton(QStringLiteral("&Speichern"));
    cmdSpeichern->setObjectName("cmdSpeichern");
    cmdSpeichern->setToolTip(QStringLiteral("Abspeichern der Daten"));
    cmdGutachter = new QPushButton(QStringLiteral("&Gutachter"));
    cmdGutachter->setObjectName("cmdGutachter");
    cmdGutachter->setToolTip(QStringLiteral("Anzeigen der erfassten Gutachter zwecks Auswahl"));
    cmdKreis = new QPushButton(QStringLiteral("&Kreis"));
    cmdKreis->setObjectName("cmdKreis");
    cmdKreis->setToolTip(QStringLiteral("Auswahl des Kreises für den neuen Ort"));
    cmdZurueck = new QPushButton(QStringLiteral("&Zurück"));
    cmdZurueck->setObjectName("cmdZurueck");
    cmdZurueck->setToolTip(QStringLiteral("Schliessen dieses Fensters"));
    knoepfe->addStretch();
    for (QPushButton* b : {cmdSpeichern, cmdGutachter, cmdKreis, cmdZurueck}) {
        b->setMinimumWidth(twips(1500));
        knoepfe->addWidget(b);
    }
    haupt->addLayout(knoepfe);

    connect(cmdSpeichern, &QPushButton::clicked, this, &frmStadtMaske::cmdSpeichern_Click);
    connect(cmdGutachter, &QPushButton::clicked, this, &frmStadtMaske::cmdGutachter_Click);
    connect(cmdKreis, &QPushButton::clicked, this, &frmStadtMaske::cmdKreis_Click);
    connect(cmdZurueck, &QPushButton::clicked, this, &frmStadtMaske::cmdZurueck_Click);
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmStadtMaske::SSTab1_Click);
    // Every page can be reached by keyboard, also the ones without entry.
    richteSeitenwechselEin(SSTab1, this);
    // The form registry gives the focus to the form as a whole once it is
    // shown; it goes on to "Zurück" in the customer edition, otherwise to the
    // first box of the page shown, which keeps it with its focus colour.
    setzeFokusziel(this, [this]() -> QWidget* {
        if (publics().Ausgabe == 3) return cmdZurueck;
        const int seite = SSTab1->currentIndex();
        return seite >= 0 && seite < seiten().size() ? m_text[seiten().at(seite).feld][0] : nullptr;
    });

    // Lengths the place data columns hold.
    m_text[1][0]->setMaxLength(5);
    for (int i : {1, 13, 14, 15, 17}) m_text[1][i]->setMaxLength(50);
    m_text[1][12]->setMaxLength(100);
    for (int f = 2; f <= 4; ++f) m_text[f][12]->setMaxLength(100);

    resize(qMax(sizeHint().width(), twips(11500)), twips(5600));
}

void frmStadtMaske::Form_Load() {
    Publics& p = publics();
    Sanduhr sanduhr;
    const bool intern = p.Ausgabe == 1 || p.Ausgabe == 2;
    cmdSpeichern->setEnabled(p.Editiermodus);
    cmdSpeichern->setVisible(intern);
    cmdGutachter->setVisible(intern);
    m_neu = p.Modus != QStringLiteral("aendern");
    cmdKreis->setVisible(intern && m_neu);

    // The shared field behaviour and the entry formatting of the editable pages.
    if (p.Ausgabe != 3) {
        for (int f = 1; f <= 4; ++f) {
            auto* fa = new FeldArray(QVector<QLineEdit*>(m_text[f].begin(), m_text[f].end()), this,
                                     FeldArray::KeinJaNeinFeld);
            connect(fa, &FeldArray::feldVerlassen, this, [this, f](int i) { text_LostFocus(f, i); });
            m_felder << fa;
        }
    }

    if (!m_neu) {
        m_schluessel = p.AktGemeindeschluessel;
        LadeOrt();
    } else {
        if (!p.GewaehlterKreis.isEmpty()) m_text[1][2]->setText(p.GewaehlterKreis);
        if (!p.GewaehlterGutachter.isEmpty()) m_text[1][16]->setText(p.GewaehlterGutachter);
    }
    m_text[10][2]->setText(QStringLiteral("2000"));
    sperreBoxen();
    if (p.Ausgabe == 3) cmdZurueck->setFocus();
}

void frmStadtMaske::LadeOrt() {
    Publics& p = publics();
    OrtAnzeige a;
    if (!mitDatenbank(QStringLiteral("Die Ortsdaten konnten nicht gelesen werden."),
                      [&] { a = OrtDaten(p.Verbindung).lade(m_schluessel); }))
        return;
    m_anweisungen = a.anweisungen;
    if (!a.ortGefunden && !a.ortsdatenVorhanden) {
        meldeKritisch(this, "Zum Gemeindeschlüssel \"" + m_schluessel + "\" wurde kein Ort gefunden.");
        return;
    }
    for (int f = 1; f <= 13; ++f)
        for (int i = 0; i < OrtBoxen::anzahl(f); ++i) {
            m_text[f][i]->setText(a.boxen(f, i));
            m_text[f][i]->setCursorPosition(0);
        }
    p.StrassenPlz = a.plz;
    p.StrassenStadt = a.ort;
    p.StrassenOrtId = a.ortId;
    p.GewaehlteGutachterId = a.idGutachter;

    QString fehler;
    if (ProtokolliereOrt(p.Verbindung, p, m_text[1][0]->text() + " " + m_text[1][1]->text(), &fehler) ==
        OrtAbrechnung::Fehlgeschlagen) {
        // Unbilled place data is not shown; the form has not been shown yet.
        for (int f = 1; f <= 13; ++f)
            for (QLineEdit* le : m_text[f]) le->clear();
        zeige(this, nichtProtokolliert(AbfrageArt::Ortsdaten, fehler));
    }
}

// Which boxes take entry: nothing in the customer edition; the pages of other
// tables never; on page "Ortsdaten" of a loaded place only boxes 12 to 17,
// of a new place everything the save stores.
void frmStadtMaske::sperreBoxen() {
    const Publics& p = publics();
    for (int f = 1; f <= 13; ++f)
        for (QLineEdit* le : m_text[f]) le->setReadOnly(p.Ausgabe == 3 || f >= 5);
    if (p.Ausgabe == 3) return;
    for (int i = 0; i < 18; ++i) {
        const bool offen = m_neu ? !QVector<int>{2, 3, 4, 8, 9, 16}.contains(i) : (i >= 12 && i != 16);
        m_text[1][i]->setReadOnly(!offen);
    }
}

OrtBoxen frmStadtMaske::boxen() const {
    OrtBoxen b;
    for (int f = 1; f <= 13; ++f)
        for (int i = 0; i < OrtBoxen::anzahl(f); ++i) b(f, i) = m_text[f][i]->text();
    return b;
}

void frmStadtMaske::text_LostFocus(int f, int i) {
    if (publics().Ausgabe == 3) return;
    QLineEdit* le = m_text[f][i];
    if (le->isReadOnly()) return;
    QString t = le->text();
    if (f == 1) {
        if (i == 7 || (i == 6 && m_neu)) t = ort::formatiereMuster(t);
        else if (i == 11) t = ort::formatiereMuster(t, QStringLiteral(" km²"));
        else if (i >= 13 && i <= 15) t = ort::formatiereBetrag(t);
        else if (i == 5 && m_neu && t.trimmed().size() == 8) {
            try {
                const QStringList n = OrtDaten(publics().Verbindung).regionNamen(t.trimmed());
                for (int k = 0; k < 3; ++k) m_text[1][2 + k]->setText(n.value(k));
            } catch (const DbFehler&) {
                // Only a preview; the save reports database trouble.
            }
        }
    } else {
        if (i == 0 || i == 1 || i == 2 || i == 7 || i == 14) t = ort::formatiereCode(t);
        else if (i == 5) t = ort::formatiereMuster(t, QStringLiteral(" m"));
        else if (i == 6) t = ort::formatiereMuster(t, QStringLiteral(" m²"));
        else if (i >= 8 && i <= 11) t = ort::formatiereBetrag(t);
    }
    if (t != le->text()) {
        le->setText(t);
        le->selectAll();
    }
}

void frmStadtMaske::SSTab1_Click(int seite) {
    if (publics().Ausgabe == 3) return;
    for (int s = 0; s < 4; ++s) {
        const int f = s + 1;
        for (QLineEdit* le : m_text[f]) le->setFocusPolicy(s == seite ? Qt::StrongFocus : Qt::ClickFocus);
        if (s == seite && isVisible()) m_text[f][0]->setFocus();
    }
}

void frmStadtMaske::cmdSpeichern_Click() {
    Publics& p = publics();
    const OrtDaten daten(p.Verbindung);
    const OrtBoxen b = boxen();
    bool gespeichert = false;
    mitDatenbank(QStringLiteral("Der Datensatz wurde nicht gespeichert."), [&] {
        if (m_neu) {
            NeuerOrt o;
            o.plz = b(1, 0);
            o.ort = b(1, 1);
            o.gemeindeschluessel = b(1, 5);
            o.typ = ort::ortstypAusText(b(1, 10));
            const QStringList fehler = daten.pruefeNeuenOrt(o);
            if (!fehler.isEmpty()) {
                meldeInfo(this, "Der Ort wurde nicht gespeichert:\n" + fehler.join("\n"), QStringLiteral("Information"));
                return;
            }
            daten.legeNeuenOrtAn(o, b, p.GewaehlteGutachterId);
            // From now on the form shows and changes this place.
            m_neu = false;
            m_schluessel = o.gemeindeschluessel.trimmed();
            p.AktGemeindeschluessel = m_schluessel;
            cmdKreis->setVisible(false);
            sperreBoxen();
        } else {
            daten.speichere(m_schluessel, b, p.GewaehlteGutachterId);
        }
        gespeichert = true;
    });
    if (!gespeichert) return;
    meldeInfo(this, QStringLiteral("Der Datensatz wurde gespeichert!"), QStringLiteral("Information"));
    m_text[1][0]->setFocus();
}

void frmStadtMaske::versteckeFuerAuswahl() {
    publics().AuswahlFuerStadtMaske = true;
    verstecke();
}

void frmStadtMaske::cmdGutachter_Click() {
    publics().SuchArt = QStringLiteral("Gutachter mit Ort verknüpfen");
    versteckeFuerAuswahl();
    formen::zeige<frmGutachterAuswahl>();
}

void frmStadtMaske::cmdKreis_Click() {
    versteckeFuerAuswahl();
    formen::zeige<frmKreisSuchen>();
}

void frmStadtMaske::uebernimmGutachter() {
    const Publics& p = publics();
    m_text[1][16]->setText(p.GewaehlterGutachter);
    try {
        const GutachterZeile g = OrtDaten(p.Verbindung).gutachter(p.GewaehlteGutachterId);
        for (int i = 0; i < 8; ++i) m_text[5][i]->setText(g.boxen.value(i));
    } catch (const DbFehler&) {
        for (int i = 0; i < 8; ++i) m_text[5][i]->clear();
    }
}

void frmStadtMaske::uebernimmKreis() {
    const Publics& p = publics();
    m_text[1][2]->setText(p.GewaehlterKreis);
    if (!m_neu || !m_text[1][5]->text().trimmed().isEmpty()) return;
    try {
        // The district key starts the municipality key of a new place.
        m_text[1][5]->setText(OrtDaten(p.Verbindung).kreisKenn(p.GewaehlterKreis));
    } catch (const DbFehler&) {
    }
}

void frmStadtMaske::cmdZurueck_Click() { entlade(); }

void frmStadtMaske::beimErstenZeigen() {
    SSTab1_Click(SSTab1->currentIndex());
    if (publics().Ausgabe == 3) cmdZurueck->setFocus();
}

// Unload: a place of the lookup returns to its information groups.
void frmStadtMaske::beimEntladen() {
    // No pick can hand its choice back to a closed form.
    publics().AuswahlFuerStadtMaske = false;
    if (schliesstAlle()) return;
    if (!m_neu && publics().Modus == QStringLiteral("aendern")) formen::zurueck("frmInformationsGruppen");
}

}  // namespace talu
