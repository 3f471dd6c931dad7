#include "logs/frmZugangsProtokoll.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/Formen.h"
#include "app/Geometrie.h"
#include "app/modPublics.h"
#include "logs/ZugangsProtokollModell.h"

namespace talu {

namespace {
formen::RegistrierungVon<frmZugangsProtokoll> reg;

QPushButton* knopf(const char* name, const QString& text) {
    auto* b = new QPushButton(text);
    b->setObjectName(QString::fromLatin1(name));
    b->setMinimumWidth(twips(1200));
    return b;
}
}  // namespace

frmZugangsProtokoll::frmZugangsProtokoll(QWidget* parent) : Formular(parent) {
    setWindowTitle(QStringLiteral("Zugangsprotokoll"));
    setzePlatz(Platz::ObenLinks);
    auto* v = new QVBoxLayout(this);
    Label2 = new QLabel;
    Label2->setObjectName(QStringLiteral("Label2"));
    QFont f = Label2->font();
    f.setPointSizeF(f.pointSizeF() * 1.3);
    f.setBold(true);
    Label2->setFont(f);
    v->addWidget(Label2);

    m_modell = new ZugangsProtokollModell(publics().Verbindung, this);
    DataGrid1 = new QTableView;
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    DataGrid1->setModel(m_modell);
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid1->verticalHeader()->setDefaultSectionSize(DataGrid1->fontMetrics().height() + 6);
    DataGrid1->setMinimumSize(twips(11500), twips(4500));
    v->addWidget(DataGrid1, 1);

    auto* zeile = new QHBoxLayout;
    cmdAlle = knopf("cmdAlle", QStringLiteral("Alle"));
    cmdLogin = knopf("cmdLogin", QStringLiteral("Login"));
    cmdLogout = knopf("cmdLogout", QStringLiteral("Logout"));
    cmdNurHeute = knopf("cmdNurHeute", QStringLiteral("Heute"));
    cmdZurueck = knopf("cmdZurueck", QStringLiteral("&Zurück"));
    for (QPushButton* b : {cmdAlle, cmdLogin, cmdLogout, cmdNurHeute}) zeile->addWidget(b);
    zeile->addStretch();
    zeile->addWidget(cmdZurueck);
    v->addLayout(zeile);
    connect(cmdAlle, &QPushButton::clicked, this, &frmZugangsProtokoll::cmdAlle_Click);
    connect(cmdLogin, &QPushButton::clicked, this, &frmZugangsProtokoll::cmdLogin_Click);
    connect(cmdLogout, &QPushButton::clicked, this, &frmZugangsProtokoll::cmdLogout_Click);
    connect(cmdNurHeute, &QPushButton::clicked, this, &frmZugangsProtokoll::cmdNurHeute_Click);
    connect(cmdZurueck, &QPushButton::clicked, this, &frmZugangsProtokoll::cmdZurueck_Click);
    escapeDrueckt(cmdZurueck);
    setzeStartfeld(DataGrid1);

    Label2->setText(zugangsprotokoll::ueberschrift(zugangsprotokoll::Filter::Alle));
    zeige(zugangsprotokoll::Filter::Alle);
}

void frmZugangsProtokoll::zeige(zugangsprotokoll::Filter f) {
    if (!mitDatenbank(QStringLiteral("Das Zugangsprotokoll konnte nicht gelesen werden."),
                      [&] { m_modell->zeige(f); }))
        return;
    spaltenAnwenden();
    Label2->setText(zugangsprotokoll::ueberschrift(f));
}

void frmZugangsProtokoll::spaltenAnwenden() {
    const QList<GitterSpalte>& s = m_modell->spalten();
    for (int i = 0; i < s.size() && i < m_modell->columnCount(); ++i)
        DataGrid1->setColumnWidth(i, twips(s[i].breiteTwips));
}

}  // namespace talu
