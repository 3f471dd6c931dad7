#include "login/ui/frmLoginDaten.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

#include "kit/Dialoge.h"
#include "kit/modPublics.h"

namespace talu {

namespace {
// The password field shows every character as "*".
class SternStil : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* rueckgabe) const override {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, rueckgabe);
    }
};
}  // namespace

frmLoginDaten::frmLoginDaten(QWidget* eltern) : QDialog(eltern) {
    setObjectName(QStringLiteral("frmLoginDaten"));
    setWindowTitle(QStringLiteral("WQN-TALU - Anmeldung"));
    setModal(true);

    m_lblKopf = new QLabel(QStringLiteral("Connect-Daten eingeben"), this);
    m_lblKopf->setObjectName(QStringLiteral("lblKopf"));
    QFont kopf(QStringLiteral("Arial"));
    kopf.setPointSize(14);
    kopf.setBold(true);
    m_lblKopf->setFont(kopf);

    const char* beschriftungen[] = {"Server / Datenbank:", "Benutzer / Passwort:", "Status:"};
    QLabel* label[3];
    for (int i = 0; i < 3; ++i) {
        label[i] = new QLabel(QString::fromUtf8(beschriftungen[i]), this);
        label[i]->setObjectName(QStringLiteral("label_%1").arg(i));
    }
    for (int i = 0; i < 5; ++i) {
        auto* t = new QLineEdit(this);
        t->setObjectName(QStringLiteral("text_%1").arg(i));
        t->installEventFilter(this);
        if (i < 4) t->setMaxLength(ZugangsDatei::kHoechstZeichen);
        m_text << t;
    }
    label[0]->setBuddy(m_text[0]);
    label[1]->setBuddy(m_text[2]);
    m_text[0]->setToolTip(serverRegelText());
    m_text[1]->setToolTip(QStringLiteral("Name der Datenbank (bei \"sqlite\": Pfad der Datenbankdatei)"));
    m_text[3]->setEchoMode(QLineEdit::Password);
    auto* stern = new SternStil;
    stern->setParent(this);  // outlives the field, which is created before it
    m_text[3]->setStyle(stern);
    m_text[4]->setReadOnly(true);
    // The status line is part of the field array (Enter there logs in), but it
    // only reports: shown as a flat read-only field.
    QPalette p = m_text[4]->palette();
    p.setColor(QPalette::Base, palette().color(QPalette::Window));
    m_text[4]->setPalette(p);

    m_cmdDetails = new QPushButton(QStringLiteral("&Details..."), this);
    m_cmdDetails->setObjectName(QStringLiteral("cmdDetails"));
    m_cmdDetails->setAutoDefault(false);
    m_cmdDetails->setVisible(false);
    m_cmdDetails->setToolTip(QStringLiteral("Zeigt die Meldung des Servers"));

    m_cmdAnmelden = new QPushButton(QStringLiteral("&Anmelden"), this);
    m_cmdAnmelden->setObjectName(QStringLiteral("cmdAnmelden"));
    m_cmdAbbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    m_cmdAbbrechen->setObjectName(QStringLiteral("cmdAbbrechen"));
    // Enter belongs to the fields (their own key rule); no button is a default button.
    for (QPushButton* b : {m_cmdAnmelden, m_cmdAbbrechen}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setMinimumWidth(110);
    }

    auto* raster = new QGridLayout;
    raster->setHorizontalSpacing(8);
    raster->setVerticalSpacing(8);
    raster->addWidget(label[0], 0, 0);
    raster->addWidget(m_text[0], 0, 1);
    raster->addWidget(m_text[1], 0, 2);
    raster->addWidget(label[1], 1, 0);
    raster->addWidget(m_text[2], 1, 1);
    raster->addWidget(m_text[3], 1, 2);
    raster->addWidget(label[2], 2, 0);
    auto* status = new QHBoxLayout;
    status->addWidget(m_text[4], 1);
    status->addWidget(m_cmdDetails);
    raster->addLayout(status, 2, 1, 1, 2);
    raster->setColumnStretch(1, 1);
    raster->setColumnStretch(2, 1);
    for (int i = 0; i < 3; ++i) label[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int i = 0; i < 4; ++i) m_text[i]->setMinimumWidth(190);
    // The status line shows its longest message whole, also beside the details button.
    const QFontMetrics fm(m_text[4]->font());
    m_text[4]->setMinimumWidth(fm.horizontalAdvance(anmeldung::kStatusFehlgeschlagen) + 24);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    knoepfe->addWidget(m_cmdAnmelden);
    knoepfe->addWidget(m_cmdAbbrechen);

    auto* spalte = new QVBoxLayout(this);
    spalte->setContentsMargins(16, 14, 16, 14);
    spalte->setSpacing(12);
    spalte->addWidget(m_lblKopf);
    spalte->addLayout(raster);
    spalte->addLayout(knoepfe);
    setSizeGripEnabled(false);

    connect(m_cmdAnmelden, &QPushButton::clicked, this, &frmLoginDaten::cmdAnmelden_Click);
    connect(m_cmdAbbrechen, &QPushButton::clicked, this, &frmLoginDaten::cmdAbbrechen_Click);
    connect(m_cmdDetails, &QPushButton::clicked, this, &frmLoginDaten::zeigeDetails);

    laden();
    adjustSize();
    setFixedHeight(sizeHint().height());
}

void frmLoginDaten::laden() {
    m_endeBeimSchliessen = true;
    ZugangsDatei datei;
    Anmeldedaten d;
    switch (datei.lese(d)) {
        case ZugangsDatei::Lesen::KeineDatei:
            break;
        case ZugangsDatei::Lesen::Gelesen: {
            Publics& p = publics();
            anmeldung::uebernehme(d, p);
            m_text[0]->setText(d.server);
            m_text[1]->setText(d.datenbank);
            m_text[2]->setText(d.benutzer);
            m_text[3]->setText(d.passwort);
            break;
        }
        case ZugangsDatei::Lesen::Fehler:
            meldeKritisch(this, anmeldung::kMeldungLesefehler);
            datei.loesche();
            break;
    }
}

Anmeldedaten frmLoginDaten::eingaben() const {
    return {m_text[0]->text(), m_text[1]->text(), m_text[2]->text(), m_text[3]->text()};
}

bool frmLoginDaten::PruefeEingaben() {
    if (anmeldung::eingabenVollstaendig(eingaben())) return true;
    meldeInfo(this, anmeldung::kMeldungLeer, QStringLiteral("Information"));
    return false;
}

void frmLoginDaten::UebernehmeEingaben() { anmeldung::uebernehme(eingaben(), publics()); }

void frmLoginDaten::SpeichereAnmeldedaten() {
    if (!PruefeEingaben()) return;
    UebernehmeEingaben();
    QString fehler;
    if (!ZugangsDatei().schreibe(eingaben(), &fehler))
        meldeKritisch(this, QStringLiteral("Die Anmeldedaten konnten nicht gespeichert werden."), {},
                      ZugangsDatei().pfad() + QStringLiteral(": ") + fehler);
}

bool frmLoginDaten::Verbinden(const QString& modus) {
    m_letzterFehler.clear();
    return anmeldung::verbinden(publics(), modus, &m_letzterFehler);
}

void frmLoginDaten::cmdAnmelden_Click() {
    if (!PruefeEingaben()) return;
    UebernehmeEingaben();
    SpeichereAnmeldedaten();

    m_cmdDetails->setVisible(false);
    m_text[4]->setToolTip({});
    m_text[4]->setText(anmeldung::kStatusSuche);
    m_text[4]->repaint();
    bool ok = false;
    {
        Sanduhr sanduhr;
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        ok = Verbinden(QStringLiteral("sql"));
    }

    if (!ok) {
        m_text[4]->setText(anmeldung::kStatusFehlgeschlagen);
        m_text[4]->setCursorPosition(0);
        m_text[4]->setToolTip(anmeldung::fehlerDetails(m_letzterFehler));
        m_cmdDetails->setVisible(true);
        return;
    }
    m_endeBeimSchliessen = false;
    accept();
}

void frmLoginDaten::cmdAbbrechen_Click() { reject(); }

void frmLoginDaten::done(int ergebnis) {
    // Leaving the form any way but by a successful login keeps the flag set;
    // the start-up then ends the program.
    if (ergebnis == QDialog::Accepted && m_endeBeimSchliessen) ergebnis = QDialog::Rejected;
    QDialog::done(ergebnis);
}

void frmLoginDaten::zeigeDetails() {
    // Everything in the box's text: the operator asked for the details already.
    dialoge().meldung(this, Dialoge::Symbol::Kritisch, QStringLiteral("Verbindung fehlgeschlagen"),
                      anmeldung::kStatusFehlgeschlagen + QStringLiteral("\n\n") +
                          anmeldung::fehlerDetails(m_letzterFehler));
}

void frmLoginDaten::text_KeyDown(int index, int taste) {
    const int anzahl = textAnzahl();
    if ((taste == Qt::Key_Return || taste == Qt::Key_Enter) && index == 0) {
        cmdAnmelden_Click();
    } else if (taste == Qt::Key_Return || taste == Qt::Key_Enter || taste == Qt::Key_Down) {
        if (index < anzahl - 1) {
            m_text[index + 1]->setFocus(Qt::OtherFocusReason);
        } else {
            // The last field saves and logs in; "Anmelden" saves before it connects,
            // so the check and its message come only once.
            cmdAnmelden_Click();
        }
    } else if (taste == Qt::Key_Up) {
        m_text[index == 0 ? anzahl - 1 : index - 1]->setFocus(Qt::OtherFocusReason);
    }
}

bool frmLoginDaten::eventFilter(QObject* objekt, QEvent* ereignis) {
    const int index = m_text.indexOf(static_cast<QLineEdit*>(objekt));
    if (index >= 0 && (ereignis->type() == QEvent::KeyPress || ereignis->type() == QEvent::ShortcutOverride)) {
        auto* e = static_cast<QKeyEvent*>(ereignis);
        const int k = e->key();
        const bool unsere = k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Up || k == Qt::Key_Down;
        if (ereignis->type() == QEvent::ShortcutOverride) {
            if (unsere) e->accept();
            return unsere;
        }
        if (unsere) {
            text_KeyDown(index, k);
            return true;  // Enter produces no character and reaches no button
        }
    }
    return QDialog::eventFilter(objekt, ereignis);
}

}  // namespace talu
