#include "market/ui/frmMarktUebersichten.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTimer>

#include "kit/Dialoge.h"
#include "kit/ui/Formen.h"
#include "tools/stapel/ui/FortschrittsDialog.h"
#include "kit/ui/Geometrie.h"
#include "kit/modPublics.h"
#include "lookup/AbfrageProtokoll.h"
#include "market/MarktModell.h"
#include "market/ui/frmMarktUebersichtenAuswahl.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmMarktUebersichten> reg;
}  // namespace

frmMarktUebersichten::frmMarktUebersichten(QWidget* parent) : Formular(parent) {
    const Publics& p = publics();
    setWindowTitle(p.MarktTitel + (p.AktOrtAnzeige.isEmpty() ? QString() : " - " + p.AktOrtAnzeige));

    label[0] = new QLabel(QStringLiteral("Tabelle:"), this);
    label[1] = new QLabel(QStringLiteral("Hinweis:"), this);
    label[2] = new QLabel(QStringLiteral("Bereich:"), this);
    Combo1 = new QComboBox(this);
    Combo1->setObjectName("Combo1");
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo1->setMinimumContentsLength(30);
    cmdAktualisieren = new QPushButton(QStringLiteral("Aktualisieren"), this);
    cmdAktualisieren->setObjectName("cmdAktualisieren");
    DataGrid1 = new QTableView(this);
    DataGrid1->setObjectName("DataGrid1");
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid1->verticalHeader()->setDefaultSectionSize(twips(285));
    Text1 = new QLineEdit(this);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    Text2 = new QPlainTextEdit(this);
    Text2->setObjectName("Text2");
    Text2->setReadOnly(true);
    Text2->setFixedHeight(twips(900));
    cmdZurueck = new QPushButton(QStringLiteral("Zurück"), this);
    cmdZurueck->setObjectName("cmdZurueck");
    // The form's focus goes to "Zurück".
    setzePlatz(Platz::Selbst);
    setzeStartfeld(cmdZurueck);
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(1);
    Timer1->setSingleShot(true);

    m_modell = new markt::MarktModell(this);
    DataGrid1->setModel(m_modell);

    auto* raster = new QGridLayout(this);
    auto* oben = new QHBoxLayout;
    oben->addWidget(Combo1, 1);
    oben->addWidget(cmdAktualisieren);
    raster->addWidget(label[0], 0, 0);
    raster->addLayout(oben, 0, 1);
    raster->addWidget(DataGrid1, 1, 0, 1, 2);
    raster->addWidget(label[2], 2, 0);
    raster->addWidget(Text1, 2, 1);
    raster->addWidget(label[1], 3, 0, Qt::AlignTop);
    raster->addWidget(Text2, 3, 1);
    auto* unten = new QHBoxLayout;
    unten->addStretch(1);
    unten->addWidget(cmdZurueck);
    raster->addLayout(unten, 4, 0, 1, 2);
    raster->setRowStretch(1, 1);

    connect(Timer1, &QTimer::timeout, this, &frmMarktUebersichten::zurueck);
    connect(cmdZurueck, &QPushButton::clicked, this, &frmMarktUebersichten::zurueck);
    connect(cmdAktualisieren, &QPushButton::clicked, this, &frmMarktUebersichten::zeigeUeberschrift);

    // The conversion of former DM amounts is maintenance work: only the
    // internal edition offers it, on a click on any of the three labels.
    if (p.Ausgabe == 1) {
        for (QLabel* l : label) {
            l->installEventFilter(this);
            l->setCursor(Qt::PointingHandCursor);
            l->setToolTip(QStringLiteral("DM-Beträge dieser Tabelle in Euro umrechnen"));
        }
    }

    formLoad();
    connect(Combo1, &QComboBox::currentIndexChanged, this, &frmMarktUebersichten::zeigeUeberschrift);
}

void frmMarktUebersichten::formLoad() {
    Publics& p = publics();
    bool gefunden = false;
    if (!mitDatenbank(QStringLiteral("Die Marktübersichten konnten nicht gelesen werden."), [&] {
            gefunden = m_daten.lade(p.Verbindung, p.AktGemeindeschluessel, p.MarktTabelle);
            if (!gefunden) return;
            const markt::Kategorie* k = markt::kategorie(p.MarktTabelle);
            m_preis = markt::preisAusOrt(p.Verbindung, p.RsSuche, k->preisSpalte, p.AktGemeindeschluessel);
        })) {
        Timer1->start();
        return;
    }
    if (!gefunden) {
        // Nothing to show and nothing charged; the timer brings back the choice.
        meldeInfo(this, markt::MarktUebersicht::keineDatenText());
        Timer1->start();
        return;
    }
    try {
        m_daten.bucheAbfrage(p.Verbindung, p, p.MarktTitel, m_preis);
    } catch (const DbFehler& e) {
        // Unbilled information is not shown.
        zeige(this, nichtProtokolliert(AbfrageArt::Marktuebersichten, e));
        Timer1->start();
        return;
    }
    m_hatDaten = true;
    Combo1->addItems(m_daten.ueberschriften());
    Combo1->setCurrentIndex(0);
    m_modell->setzeDaten(m_daten);
    m_modell->setzeUeberschrift(Combo1->currentText());
    spaltenEinrichten();
    // Region and remark come from the first headline only and stay when
    // another headline is chosen.
    Text1->setText(m_daten.bereichText());
    Text1->setCursorPosition(0);
    Text2->setPlainText(m_daten.hinweisText());
}

void frmMarktUebersichten::zeigeUeberschrift() {
    if (!m_hatDaten) return;
    m_modell->setzeUeberschrift(Combo1->currentText());
}

void frmMarktUebersichten::spaltenEinrichten() {
    const markt::Aufbau& a = m_daten.aufbau();
    for (int c = 0; c < m_modell->columnCount(); ++c) {
        const markt::GridSpalte* g = a.sichtbareSpalte(c);
        DataGrid1->setColumnHidden(c, g == nullptr);
        // The designed width, or wider where the caption needs it: a cut
        // caption ("reis-Durchschnit") is no help to a reader.
        if (g) DataGrid1->setColumnWidth(c, qMax(twips(g->breite), DataGrid1->horizontalHeader()->sectionSizeHint(c)));
    }
}

int frmMarktUebersichten::breiteFuerInhalt() const {
    const QMargins rand = layout()->contentsMargins();
    int spalten = DataGrid1->verticalHeader()->sizeHint().width() + 2 * DataGrid1->frameWidth() +
                  DataGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, DataGrid1);
    for (int c = 0; c < m_modell->columnCount(); ++c)
        if (!DataGrid1->isColumnHidden(c)) spalten += DataGrid1->columnWidth(c);
    // The region line in one piece beside its caption.
    const int bereich = label[2]->sizeHint().width() + static_cast<QGridLayout*>(layout())->horizontalSpacing() +
                        Text1->fontMetrics().horizontalAdvance(Text1->text()) + 4 + 2 * 2 +
                        2 * Text1->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, Text1);
    return rand.left() + rand.right() + qMax(spalten, bereich);
}

int frmMarktUebersichten::rechneDmUm() {
    Publics& p = publics();
    if (p.Ausgabe != 1) return -1;
    markt::Umrechnung u;
    {
        FortschrittsDialog anzeige(this, markt::DmUmrechnung(p.MarktTabelle).titel(), true);
        const bool ok = mitDatenbank(
            QStringLiteral("Die DM-Beträge konnten nicht umgerechnet werden; es wurde nichts geändert."), [&] {
                u = markt::rechneDmUm(p.Verbindung, p.MarktTabelle, &anzeige);
                if (u.abgebrochen || !m_hatDaten || u.geaendert <= 0) return;
                m_daten.ladeZeilen(p.Verbindung);
                const QString ueb = m_modell->ueberschrift();
                m_modell->setzeDaten(m_daten);
                m_modell->setzeUeberschrift(ueb);
            });
        if (!ok) return -1;
    }
    if (u.abgebrochen) {
        meldeInfo(this, QStringLiteral("Die Umrechnung wurde abgebrochen; es wurde nichts geändert."));
        return 0;
    }
    dialoge().meldung(this, Dialoge::Symbol::Keins, QCoreApplication::applicationName(),
                      QStringLiteral("Fertig\n\n") +
                          (u.hatDmSpalten ? QString("%1 Datensätze geändert.").arg(u.geaendert)
                                          : QStringLiteral("Diese Tabelle enthält keine DM-Beträge.")));
    return u.geaendert;
}

bool frmMarktUebersichten::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease) {
        for (QLabel* l : label)
            if (o == l && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
                rechneDmUm();
                return true;
            }
    }
    return QWidget::eventFilter(o, e);
}

void frmMarktUebersichten::beimErstenZeigen() {
    // Wide enough for every visible column and the whole region line, where
    // the main window allows.
    int breite = qMax(m_hatDaten ? breiteFuerInhalt() : 0, twips(9000));
    int hoehe = twips(8000);
    if (QMdiArea* mdi = formen::hauptfenster()) {
        // The child window's frame comes on top of the form.
        if (auto* rahmen = qobject_cast<QMdiSubWindow*>(parentWidget())) breite += rahmen->width() - width();
        breite = qMin(breite, mdi->viewport()->width() - 10);
        hoehe = qMin(hoehe, mdi->viewport()->height() - 10);
        ZentriereKind(mdi, this, breite, hoehe);
    } else {
        resize(breite, hoehe);
    }
}

void frmMarktUebersichten::zurueck() {
    Timer1->stop();
    entlade();
}

// Unloading brings back the choice, unless a menu action closes every form.
void frmMarktUebersichten::beimEntladen() {
    Timer1->stop();
    if (!schliesstAlle()) formen::zeige<frmMarktUebersichtenAuswahl>();
}

}  // namespace talu
