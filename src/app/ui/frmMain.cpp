#include "app/ui/frmMain.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <tuple>

#include "kit/Dialoge.h"
#include "kit/Formate.h"
#include "kit/ui/Formen.h"
#include "kit/ui/Geometrie.h"
#include "kit/ui/MenueAktionen.h"
#include "kit/ui/Tastenzustand.h"
#include "kit/modPublics.h"
#include "login/ZugangsDatei.h"

namespace talu {

namespace hauptfenster {

QString titel(int ausgabe) {
    QString t = QStringLiteral("WQN-TALU ") + versionsText();
    if (ausgabe == 2) t += QStringLiteral(" - (Kindergartenversion)");
    if (ausgabe == 3) t += QStringLiteral(" - ") + kCopyright;
    return t;
}

Passwort pruefePasswort(const QString& antwort) {
    bool nurBlanks = true;
    for (QChar c : antwort)
        if (c != QLatin1Char(' ')) nurBlanks = false;
    if (nurBlanks) return Passwort::Leer;
    return antwort == kPasswort ? Passwort::Richtig : Passwort::Falsch;
}

std::function<void()> mnemonik(QWidget* form, const QKeySequence& taste) {
    if (!form || taste.isEmpty()) return {};
    auto trifft = [&](const QString& text) { return QKeySequence::mnemonic(text) == taste; };
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled()) continue;
        if (auto* knopf = qobject_cast<QAbstractButton*>(w); knopf && trifft(knopf->text()))
            return [k = QPointer<QAbstractButton>(knopf)] {
                // As the button's own mnemonic does: pressed for a moment, then clicked.
                if (k) k->animateClick();
            };
        if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy() && trifft(l->text())) {
            QWidget* box = l->buddy();
            if (box->isVisible() && box->isEnabled())
                return [b = QPointer<QWidget>(box)] {
                    if (b) b->setFocus(Qt::ShortcutFocusReason);
                };
        }
        if (auto* reiter = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < reiter->count(); ++i)
                if (reiter->isTabEnabled(i) && reiter->isTabVisible(i) && trifft(reiter->tabText(i)))
                    return [r = QPointer<QTabBar>(reiter), i] {
                        if (r) r->setCurrentIndex(i);
                    };
    }
    return {};
}

QStringList sichtbareMenuesNachAusgabe(int ausgabe) {
    if (ausgabe == 1)
        return {QStringLiteral("mnuRechnungswesen"), QStringLiteral("mnuErfassen"), QStringLiteral("mnuSonstiges")};
    if (ausgabe == 2) return {QStringLiteral("mnuErfassen")};
    return {};
}

QStringList interneMenues() {
    return {QStringLiteral("mnuErfassen"),     QStringLiteral("mnuBenutzerSuchen"),
            QStringLiteral("mnuGutachterSuchen"), QStringLiteral("mnuKreisSuchen"),
            QStringLiteral("mnuKundenSuchen"), QStringLiteral("mnuRechnungswesen"),
            QStringLiteral("mnuSonstiges")};
}

}  // namespace hauptfenster

namespace {
QPointer<frmMain> g_instanz;

// A banner across the top of the main window (the picture box of the window).
QWidget* baueBild(QWidget* eltern) {
    auto* bild = new QWidget(eltern);
    bild->setObjectName(QStringLiteral("Picture1"));
    bild->setAutoFillBackground(true);
    bild->setStyleSheet(QStringLiteral(
        "#Picture1 { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #000080, stop:1 #3a5fa0); }"
        "#Picture1 QLabel { color: white; background: transparent; }"));
    auto* zeile = new QHBoxLayout(bild);
    zeile->setContentsMargins(14, 6, 14, 6);
    auto* name = new QLabel(QStringLiteral("WQN-TALU"), bild);
    QFont f = name->font();
    f.setPointSize(f.pointSize() + 5);
    f.setBold(true);
    name->setFont(f);
    auto* zusatz = new QLabel(QStringLiteral("Bodenrichtwerte \u00B7 Ortsinformationen \u00B7 Marktübersichten"), bild);
    zeile->addWidget(name);
    zeile->addSpacing(16);
    zeile->addWidget(zusatz);
    zeile->addStretch(1);
    return bild;
}
}  // namespace

frmMain::frmMain(QWidget* eltern) : QMainWindow(eltern) {
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose);
    g_instanz = this;

    auto* mitte = new QWidget(this);
    auto* spalte = new QVBoxLayout(mitte);
    spalte->setContentsMargins(0, 0, 0, 0);
    spalte->setSpacing(0);
    spalte->addWidget(baueBild(mitte));
    m_mdi = new QMdiArea(mitte);
    m_mdi->setObjectName(QStringLiteral("mdiBereich"));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    spalte->addWidget(m_mdi, 1);
    setCentralWidget(mitte);
    formen::setzeHauptfenster(m_mdi);
    formen::setzeStatusfelder([w = QPointer<frmMain>(this)](int nr) { return w ? w->panel(nr) : nullptr; });

    setWindowTitle(hauptfenster::titel(publics().Ausgabe));
    baueMenue();
    bauePasswortKuerzel();
    pflegeKuerzel();
    baueStatusleiste();
    qApp->installEventFilter(this);
}

frmMain::~frmMain() {
    qApp->removeEventFilter(this);
    if (formen::hauptfenster() == m_mdi) formen::setzeHauptfenster(nullptr);
    if (g_instanz == this || g_instanz.isNull()) formen::setzeStatusfelder({});
}

frmMain* frmMain::instanz() { return g_instanz; }

void frmMain::laden() {
    Publics& p = publics();
    // Width from the screen, height by the golden section.
    int breite = 1024;
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        const QRect frei = s->availableGeometry();
        breite = qBound(800, int(frei.width() * 0.85), 1400);
        breite = qMin(breite, frei.width());
        const int hoehe = int(HoeheNachGoldenemSchnitt(float(breite)) + 0.5f);
        resize(breite, hoehe);
        move(frei.x() + (frei.width() - breite) / 2, frei.y() + qMax(0, (frei.height() - hoehe) / 2));
    } else {
        resize(breite, int(HoeheNachGoldenemSchnitt(float(breite)) + 0.5f));
    }
    setWindowTitle(hauptfenster::titel(p.Ausgabe));

    panel(7)->setText(verbindungsText(p));
    p.Editiermodus = true;
    zeigeMenues(hauptfenster::sichtbareMenuesNachAusgabe(p.Ausgabe));
    aktualisiereStatus();

    show();
    // The notice comes last, so that the window behind it is complete.
    if (p.Ausgabe == 3)
        dialoge().meldung(this, Dialoge::Symbol::Keins, QStringLiteral("WQN-TALU"), hauptfenster::kHinweisKostenlos);
}

QAction* frmMain::eintrag(const QString& name) const { return findChild<QAction*>(name); }
QMenu* frmMain::menue(const QString& name) const { return findChild<QMenu*>(name); }
QLabel* frmMain::panel(int nummer) const { return nummer >= 1 && nummer <= 7 ? m_panels[nummer - 1] : nullptr; }

void frmMain::KindfensterSchliessen() { formen::schliesseAlleKinder(); }

// --- menu -------------------------------------------------------------------

QMenu* frmMain::neuesMenue(QMenu* ueber, const QString& name, const QString& text, bool sichtbar) {
    QMenu* m = ueber ? ueber->addMenu(text) : menuBar()->addMenu(text);
    m->setObjectName(name);
    m->menuAction()->setObjectName(name);
    m->menuAction()->setVisible(sichtbar);
    return m;
}

QAction* frmMain::neuerEintrag(QMenu* menue, const QString& name, const QString& text, bool sichtbar,
                               const QKeySequence& kurz) {
    QAction* a = menue->addAction(text);
    a->setObjectName(name);
    a->setVisible(sichtbar);
    if (!kurz.isEmpty()) a->setProperty("kuerzel", kurz);
    return a;
}

QAction* frmMain::formEintrag(QMenu* menue, const QString& name, const QString& text, const QString& form,
                              std::function<void()> vorher, bool sichtbar, const QKeySequence& kurz,
                              bool kinderSchliessen) {
    QAction* a = neuerEintrag(menue, name, text, sichtbar, kurz);
    a->setProperty("form", form);
    connect(a, &QAction::triggered, this, [this, form, vorher, kinderSchliessen] {
        if (kinderSchliessen) KindfensterSchliessen();
        if (vorher) vorher();
        formen::zeige(form);
    });
    return a;
}

QAction* frmMain::aktionsEintrag(QMenu* menue, const QString& name, const QString& text) {
    QAction* a = neuerEintrag(menue, name, text);
    a->setProperty("aktion", true);
    connect(a, &QAction::triggered, this, [this, name] { menue::fuehreAus(name, this); });
    return a;
}

void frmMain::baueMenue() {
    menuBar()->setObjectName(QStringLiteral("menuBar"));
    auto erfassen = [] { publics().Modus = QStringLiteral("erfassen"); };

    QMenu* programm = neuesMenue(nullptr, QStringLiteral("mnuProgramm"), QStringLiteral("&Programm"), true);
    connect(neuerEintrag(programm, QStringLiteral("mnuProgrammBeenden"), QStringLiteral("Programm &beenden")),
            &QAction::triggered, this, &frmMain::mnuProgrammBeenden_Click);

    QMenu* erf = neuesMenue(nullptr, QStringLiteral("mnuErfassen"), QStringLiteral("&Erfassen"), false);
    formEintrag(erf, QStringLiteral("mnuBenutzerErfassen"), QStringLiteral("Benutzer erfassen"),
                QStringLiteral("frmBenutzerMaske"), erfassen);
    // The invoice customers, beside the users whose query-log rows they pay for.
    formEintrag(erf, QStringLiteral("mnuKundeErfassen"), QStringLiteral("Kunde erfassen"),
                QStringLiteral("frmKundenMaske"), erfassen);
    formEintrag(erf, QStringLiteral("mnuGutachterErfassen"), QStringLiteral("Gutachter erfassen"),
                QStringLiteral("frmGutachterMaske"), erfassen);
    formEintrag(erf, QStringLiteral("mnuGrundstueckErfassen"), QStringLiteral("Grundstück erfassen"),
                QStringLiteral("frmGrundstueckMaske"),
                [] {
                    publics().Modus = QStringLiteral("erfassen");
                    publics().OrtFuerNeuesGrundstueck = true;
                },
                true, QKeySequence(Qt::CTRL | Qt::Key_E));
    formEintrag(erf, QStringLiteral("mnuKreisErfassen"), QStringLiteral("Kreis erfassen"),
                QStringLiteral("frmKreisMaske"), erfassen, false);
    formEintrag(erf, QStringLiteral("mnuOrtErfassen"), QStringLiteral("Ort erfassen"), QStringLiteral("frmStadtMaske"),
                [] {
                    Publics& p = publics();
                    p.GewaehlterKreis.clear();
                    p.GewaehlterGutachter.clear();
                    p.GewaehlteKreisId = 0;
                    p.GewaehlteGutachterId = 0;
                    p.Modus = QStringLiteral("erfassen");
                },
                false);

    QMenu* suchen = neuesMenue(nullptr, QStringLiteral("mnuSuchen"), QStringLiteral("&Suchen"), true);
    formEintrag(suchen, QStringLiteral("mnuBenutzerSuchen"), QStringLiteral("Benutzer suchen"),
                QStringLiteral("frmBenutzerSuchen"), {}, false);
    // Finds appraisers by a part of the name and opens their mask, as "Benutzer suchen" does for users.
    formEintrag(suchen, QStringLiteral("mnuGutachterSuchen"), QStringLiteral("Gutachter suchen"),
                QStringLiteral("frmGutachterSuchen"), {}, false);
    formEintrag(suchen, QStringLiteral("mnuKreisSuchen"), QStringLiteral("Kreis suchen"),
                QStringLiteral("frmKreisSuchen"), {}, false);
    formEintrag(suchen, QStringLiteral("mnuKundenSuchen"), QStringLiteral("Kunden suchen"),
                QStringLiteral("frmKundenSuchen"), {}, false);
    formEintrag(suchen, QStringLiteral("mnuOrtSuchen"), QStringLiteral("Ort suchen"), QStringLiteral("frmSuchen"),
                [] { publics().SuchArt = QStringLiteral("suche nach ort"); }, true, QKeySequence(Qt::CTRL | Qt::Key_S));

    QMenu* rw = neuesMenue(nullptr, QStringLiteral("mnuRechnungswesen"), QStringLiteral("&Rechnungswesen"), false);
    formEintrag(rw, QStringLiteral("mnuAbfrageProtokollZeigen"), QStringLiteral("Abfrageprotokoll zeigen"),
                QStringLiteral("frmAbfrageprotokoll"));
    aktionsEintrag(rw, QStringLiteral("mnuRechnungenDrucken"), QStringLiteral("Rechnungen drucken"));
    aktionsEintrag(rw, QStringLiteral("mnuRechnungenSuchen"), QStringLiteral("Rechnungen suchen"));
    aktionsEintrag(rw, QStringLiteral("mnuOffeneRechnungenDrucken"), QStringLiteral("Offene Rechnungen drucken"));
    connect(neuerEintrag(rw, QStringLiteral("mnuMahnendeRechnungenDrucken"), QStringLiteral("Mahnende Rechnungen drucken")),
            &QAction::triggered, this, &frmMain::mnuMahnendeRechnungenDrucken_Click);
    aktionsEintrag(rw, QStringLiteral("mnuGutachterKontrollAusdruck"), QStringLiteral("Gutachter-Kontroll-Ausdruck"));

    QMenu* so = neuesMenue(nullptr, QStringLiteral("mnuSonstiges"), QStringLiteral("&Sonstiges"), false);
    connect(neuerEintrag(so, QStringLiteral("mnuZugangsDatenLoeschen"), QStringLiteral("Zugangssdaten löschen")),
            &QAction::triggered, this, &frmMain::mnuZugangsDatenLoeschen_Click);
    formEintrag(so, QStringLiteral("mnuZugangsProtokollZeigen"), QStringLiteral("Zugangsprotokoll zeigen"),
                QStringLiteral("frmZugangsProtokoll"));
    formEintrag(so, QStringLiteral("mnuGutachterAusfuellen"), QStringLiteral("Gutachter ausfüllen"),
                QStringLiteral("frmGutachterAusfuellen"));
    formEintrag(so, QStringLiteral("mnuMosaicDatenImportieren"), QStringLiteral("Mosaic-Daten importieren"),
                QStringLiteral("frmMosaicDatenImportieren"), {}, true, {}, false);
    formEintrag(so, QStringLiteral("mnuAurichImportieren"), QStringLiteral("Aurich importieren"),
                QStringLiteral("frmAurichImportieren"), {}, true, QKeySequence(Qt::CTRL | Qt::Key_A));
    formEintrag(so, QStringLiteral("mnuAusfuellen"), QStringLiteral("Modul Ausfüllen"), QStringLiteral("frmAusfuellen"));
    formEintrag(so, QStringLiteral("mnuNiedersachsenImportieren"), QStringLiteral("Niedersachsen importieren"),
                QStringLiteral("frmNiedersachsenImportieren"));
    formEintrag(so, QStringLiteral("mnuZonenDatenImportieren"), QStringLiteral("Zonendaten importieren"),
                QStringLiteral("frmZonenDatenImportieren"));
    formEintrag(so, QStringLiteral("mnuGemeindeSchluesselImportieren"), QStringLiteral("Gemeindeschlüssel importieren"),
                QStringLiteral("frmGemeindeSchluesselAusfuellen"));
    aktionsEintrag(so, QStringLiteral("mnuDupesZaehlen"), QStringLiteral("Dupes zählen"));
    aktionsEintrag(so, QStringLiteral("mnuwqndatenimportieren"), QStringLiteral("WQN-Daten-Importieren"));
    aktionsEintrag(so, QStringLiteral("mnuPogosDatenImportieren"), QStringLiteral("POGOS-Daten importieren"));
    aktionsEintrag(so, QStringLiteral("mnuDoppelteGrundStueckeLoeschen"), QStringLiteral("Doppelte Grundstücke löschen"));
    aktionsEintrag(so, QStringLiteral("mnuAusgefuelltMerkerSetzen"), QStringLiteral("Ausgefüllt-Merker setzen"));
    aktionsEintrag(so, QStringLiteral("mnuDurchschnittswerteOrte"), QStringLiteral("Durchschnittswerte: Orte"));
    aktionsEintrag(so, QStringLiteral("mnuDurchschnittswerteKreise"), QStringLiteral("Durchschnittswerte: Kreise"));
    aktionsEintrag(so, QStringLiteral("mnuDurchschnittswerteRegierungsbezirke"),
                   QStringLiteral("Durchschnittswerte: Regierungsbezirke"));
    aktionsEintrag(so, QStringLiteral("mnuDurchschnittswerteBundeslaender"), QStringLiteral("Durchschnittswerte: Bundesländer"));
    aktionsEintrag(so, QStringLiteral("mnuNumerischeHausnummernAusfuellen"),
                   QStringLiteral("Numerische Hausnummern ausfüllen"));

    QMenu* intern = neuesMenue(nullptr, QStringLiteral("mnuIntern"), QStringLiteral("&Intern"), false);
    connect(neuerEintrag(intern, QStringLiteral("mnuInternAktivieren"), QStringLiteral("Interne Funktionen aktivieren")),
            &QAction::triggered, this, &frmMain::mnuInternAktivieren_Click);

    // Menus of planned functions: present, hidden, without action.
    auto ohneAktion = [this](QMenu* m, const QList<QPair<const char*, const char*>>& eintraege) {
        for (const auto& [name, text] : eintraege)
            neuerEintrag(m, QString::fromUtf8(name), QString::fromUtf8(text));
    };
    QMenu* plaene = neuesMenue(nullptr, QStringLiteral("mnuPlaene"), QStringLiteral("&Pläne"), false);
    ohneAktion(plaene, {{"mnuBPlan", "B-Plan"}, {"mnuFPlan", "F-Plan"}, {"mnuLPlan", "L-Plan"}, {"mnuLuftbild", "Luftbild"}});

    QMenu* markt = neuesMenue(nullptr, QStringLiteral("mnuMarktuebersicht"), QStringLiteral("&Marktübersicht"), false);
    ohneAktion(markt, {{"mnuDurchschnittlicherPreisETW", "Durchschnittlicher Preis ETW"},
                       {"mnuDurchschnittlicherPreisEFN", "Durchschnittlicher Preis EFN"},
                       {"mnuDurchschnittlicherPreisMFH", "Durchschnittlicher Preis MFH"},
                       {"mnuDurchschnittlicherPreisDHH", "Durchschnittlicher Preis DHH"},
                       {"mnuDurchschnittlicherPreisRH", "Durchschnittlicher Preis RH"}});
    markt->addSeparator()->setObjectName(QStringLiteral("line01"));
    ohneAktion(markt, {{"mnuMietwertuebersicht", "Mietwertübersicht"},
                       {"mnuFlaechenUmsatz", "Flächenumsatz"},
                       {"mnuGeldumsatz", "Geldumsatz"},
                       {"mnuBaupreisindex", "Baupreisindex"},
                       {"mnuLiegenschaftszins", "Liegenschaftszins"},
                       {"mnuUmrechnungKoeffizient", "Umrechnung Koeffizient"},
                       {"mnuAnzahlDerKaufvertraege", "Anzahl der Kaufverträge"},
                       {"mnuSonstigeIndizes", "Sonstige Indizes"}});

    QMenu* berechnungen = neuesMenue(nullptr, QStringLiteral("mnuBerechnungen"), QStringLiteral("&Berechnungen"), false);
    ohneAktion(berechnungen, {{"mnuFuerImobilieninvestment", "Für Immobilieninvestment"},
                              {"mnuFuerImmobilienmanagment", "Für Immobilienmanagment"},
                              {"mnuErtragswert", "Ertragswert"},
                              {"mnuSachwert", "Sachwert"}});

    QMenu* analysen = neuesMenue(nullptr, QStringLiteral("mnuAnalysen"), QStringLiteral("&Analysen"), false);
    QMenu* standort = neuesMenue(analysen, QStringLiteral("mnuStandortanalysen"), QStringLiteral("Standortanalysen"), true);
    ohneAktion(standort, {{"mnuWohnImmobilien", "Wohn-Immobilien"},
                          {"mnuBueroImmobilien", "Büro-Immobilien"},
                          {"mnuEinzelhandelImmobilien", "Einzelhandel-Immobilien"},
                          {"mnuGrosshandelimmobilien", "Grosshandel-Immobilien"},
                          {"mnuSonstigeImmobilien", "Sonstige Immobilien"}});
    QMenu* mikro = neuesMenue(analysen, QStringLiteral("mnuMikroanalysen"), QStringLiteral("Mikroanalysen"), true);
    ohneAktion(mikro, {{"mnuHaushalteStrasse", "Haushalte - Strasse"},
                       {"mnuHaushalteHaus", "Haushalte - Haus"},
                       {"mnuGewerbeeinheitenStrasse", "Gewerbeeinheiten - Strasse"},
                       {"mnuGewerbeeinheitenHaus", "Gewerbeeinheiten - Haus"},
                       {"mnuBildungUndEinkommenStrasse", "Bildung und Einkommen - Strasse"},
                       {"mnuBildungUndEinkommenHaus", "Bildung und Einkommen - Haus"},
                       {"mnuFamilieStrasse", "Familie - Strasse"},
                       {"mnuFamilieHaus", "Familie - Haus"},
                       {"mnuAuslaenderquoteStrasse", "Ausländerquote - Strasse"},
                       {"mnuAuslaenderQuoteHaus", "Ausländerquote - Haus"},
                       {"mnuStrassen", "Strassen"},
                       {"mnuLagebeschreibungStrasse", "Lagebeschreibung - Strasse"},
                       {"mnuLagebeschreibungHaus", "Lagebeschreibung - Haus"},
                       {"mnuFluktuaktionStrasse", "Fluktuation - Strasse"},
                       {"mnuFluktuaktionHaus", "Fluktuation - Haus"},
                       {"mnuUmzugssaldoStrasse", "Umzugssaldo - Strasse"},
                       {"mnuUmzugssaldoHaus", "Umzugssaldo - Haus"},
                       {"mnuStrassenTyp", "Strassentyp"}});
    QMenu* makro = neuesMenue(analysen, QStringLiteral("mnuMakroanalysen"), QStringLiteral("Makroanalysen"), true);
    ohneAktion(makro, {{"mnuHaushalteOrt", "Haushalte Ort"},
                       {"mnuGewerbeeinheitenOrt", "Gewerbeeinheiten Ort"},
                       {"mnuBildungUndEinkommenOrt", "Bildung und Einkommen Ort"},
                       {"mnuFamilienOrt", "Familien Ort"},
                       {"mnuAuslaenderQuoteOrt", "Ausländerquote Ort"},
                       {"mnuFluktuation", "Fluktuaktion Ort"},
                       {"mnuUmzugssaldoOrt", "Umzugssaldo Ort"}});

    QMenu* editieren = neuesMenue(nullptr, QStringLiteral("mnuEditieren"), QStringLiteral("&Editieren"), false);
    connect(neuerEintrag(editieren, QStringLiteral("mnuEditiermodusAktivieren"), QStringLiteral("Editiermodus aktivieren")),
            &QAction::triggered, this, &frmMain::mnuEditiermodusAktivieren_Click);
}

void frmMain::bauePasswortKuerzel() {
    const QList<std::tuple<const char*, QKeySequence, void (frmMain::*)()>> schalter = {
        {"kuerzelInternAktivieren", hauptfenster::kKuerzelIntern, &frmMain::mnuInternAktivieren_Click},
        {"kuerzelEditiermodusAktivieren", hauptfenster::kKuerzelEditiermodus,
         &frmMain::mnuEditiermodusAktivieren_Click},
    };
    for (const auto& [name, kurz, handler] : schalter) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(kurz);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        connect(a, &QAction::triggered, this, handler);
    }
}

void frmMain::zeigeMenues(const QStringList& namen) {
    for (const QString& m : namen)
        if (QAction* a = eintrag(m)) a->setVisible(true);
    pflegeKuerzel();
}

// Hidden menus stay out of the bar: the bar grabs the mnemonic of every menu
// it holds, visible or not, and "&Berechnungen" or "&Marktübersicht" would
// then swallow Alt+B and Alt+M meant for the buttons of the open form.
void frmMain::pflegeLeiste() {
    if (m_leiste.isEmpty()) m_leiste = menuBar()->actions();
    for (QAction* a : menuBar()->actions()) menuBar()->removeAction(a);
    for (QAction* a : std::as_const(m_leiste))
        if (a->isVisible()) menuBar()->addAction(a);
}

void frmMain::pflegeKuerzel() {
    pflegeLeiste();
    for (QAction* a : findChildren<QAction*>()) {
        const QKeySequence kurz = a->property("kuerzel").value<QKeySequence>();
        if (kurz.isEmpty()) continue;
        bool erreichbar = a->isVisible();
        for (QObject* o = a->parent(); erreichbar && o && o != this; o = o->parent())
            if (auto* m = qobject_cast<QMenu*>(o)) erreichbar = m->menuAction()->isVisible();
        a->setShortcut(erreichbar ? kurz : QKeySequence());
    }
}

// --- handlers ---------------------------------------------------------------

void frmMain::mnuProgrammBeenden_Click() { close(); }

void frmMain::passwortSchalter(const std::function<void()>& beiErfolg) {
    KindfensterSchliessen();
    const QString antwort = dialoge().eingabe(this, QStringLiteral("Geben Sie bitte das Passwort ein!"), QString());
    switch (hauptfenster::pruefePasswort(antwort)) {
        case hauptfenster::Passwort::Leer:
            return;
        case hauptfenster::Passwort::Falsch:
            meldeInfo(this, QStringLiteral("Das Passwort ist leider falsch!"));
            return;
        case hauptfenster::Passwort::Richtig:
            beiErfolg();
            return;
    }
}

void frmMain::mnuInternAktivieren_Click() {
    passwortSchalter([this] {
        zeigeMenues(hauptfenster::interneMenues());
        meldeInfo(this, QStringLiteral("Die internen Funktionen wurden aktiviert!"));
    });
}

void frmMain::mnuEditiermodusAktivieren_Click() {
    passwortSchalter([this] {
        publics().Editiermodus = true;
        meldeInfo(this, QStringLiteral("Die Funktionen zum Speichern der Daten wurden aktiviert!"));
    });
}

void frmMain::mnuZugangsDatenLoeschen_Click() {
    KindfensterSchliessen();
    ZugangsDatei datei;
    if (!datei.vorhanden()) {
        meldeInfo(this, QStringLiteral("Ich habe keine Datei mit Zugangsdaten gefunden!"), QStringLiteral("Information"));
        return;
    }
    QString fehler;
    if (!datei.loesche(&fehler)) {
        meldeKritisch(this, QStringLiteral("Die Datei mit den Zugangsdaten konnte nicht gelöscht werden!"), {},
                      datei.pfad() + QStringLiteral(": ") + fehler);
        return;
    }
    meldeInfo(this, QStringLiteral("Die Datei mit den Zugangsdaten wurde gelöscht!"), QStringLiteral("Information"));
}

void frmMain::mnuMahnendeRechnungenDrucken_Click() {
    meldeInfo(this, QStringLiteral("Diese Funktion ist noch nicht realisiert!"));
}

void frmMain::closeEvent(QCloseEvent* e) {
    // Unloading the main window unloads its children with it.
    KindfensterSchliessen();
    e->accept();
}

// --- status bar -------------------------------------------------------------

void frmMain::baueStatusleiste() {
    QStatusBar* leiste = statusBar();
    leiste->setObjectName(QStringLiteral("StatusBar1"));
    leiste->setSizeGripEnabled(true);
    const int breiten[7] = {60, 90, 56, 56, 56, 56, 0};
    for (int i = 0; i < 7; ++i) {
        auto* l = new QLabel(leiste);
        l->setObjectName(QStringLiteral("StatusBar1_Panel%1").arg(i + 1));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setAlignment(i == 6 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        l->setContentsMargins(4, 0, 4, 0);
        if (breiten[i]) l->setMinimumWidth(breiten[i]);
        leiste->addPermanentWidget(l, i == 6 ? 1 : 0);
        m_panels[i] = l;
    }
    m_uhr = new QTimer(this);
    m_uhr->setInterval(1000);
    connect(m_uhr, &QTimer::timeout, this, &frmMain::aktualisiereStatus);
    m_uhr->start();
}

void frmMain::aktualisiereStatus() {
    panel(1)->setText(zeitText(QTime::currentTime()));
    panel(2)->setText(datumText(QDate::currentDate()));
    const Sperrtasten s = leseSperrtasten();
    auto zeige = [](QLabel* l, const QString& text, Sperrzustand z) {
        // Like the classic key panels: the name is dark when the key is on, grey when off.
        const QString farbe = z == Sperrzustand::Ein ? QStringLiteral("palette(window-text)") : QStringLiteral("#9a9a9a");
        l->setText(z == Sperrzustand::Unbekannt ? text + QStringLiteral(" ?") : text);
        l->setStyleSheet(QStringLiteral("QLabel { color: %1; }").arg(farbe));
        l->setToolTip(z == Sperrzustand::Unbekannt
                          ? QStringLiteral("Der Zustand dieser Taste kann auf dieser Oberfläche nicht abgefragt werden.")
                          : (z == Sperrzustand::Ein ? QStringLiteral("eingeschaltet") : QStringLiteral("ausgeschaltet")));
        l->setProperty("zustand", int(z));
    };
    zeige(panel(3), QStringLiteral("CAPS"), s.caps);
    zeige(panel(4), QStringLiteral("NUM"), s.num);
    zeige(panel(5), QStringLiteral("INS"), m_einfuegen ? Sperrzustand::Ein : Sperrzustand::Aus);
    zeige(panel(6), QStringLiteral("SCRL"), s.rollen);
}

bool frmMain::istKuerzel(const QKeySequence& taste) const {
    for (QAction* a : findChildren<QAction*>())
        if (a->isEnabled() && !a->shortcut().isEmpty() && a->shortcut() == taste) return true;
    return false;
}

bool frmMain::istMenueTaste(const QKeySequence& taste) const {
    for (QAction* a : menuBar()->actions())
        if (a->isVisible() && QKeySequence::mnemonic(a->text()) == taste) return true;
    return false;
}

bool frmMain::tastenVorrang(QWidget* fokus, QKeyEvent* e) {
    const QKeySequence taste(e->keyCombination());
    // The window's shortcuts work from every box: a text box would otherwise
    // keep Ctrl+E (end of line) or Ctrl+A (select all) for itself.
    if (istKuerzel(taste)) {
        e->ignore();
        return true;
    }
    // Alt plus a letter that a menu title and a control of the focused child
    // form both use: the form's control, as the operator works in the form.
    if (fokus != QApplication::focusWidget() || e->modifiers() != Qt::AltModifier || !istMenueTaste(taste))
        return false;
    QWidget* form = nullptr;
    for (QWidget* w = fokus; w && w != this; w = w->parentWidget())
        if (auto* rahmen = qobject_cast<QMdiSubWindow*>(w)) form = rahmen->widget();
    if (const auto handlung = hauptfenster::mnemonik(form, taste)) {
        handlung();
        e->accept();
        return true;
    }
    return false;
}

bool frmMain::eventFilter(QObject* objekt, QEvent* ereignis) {
    // Before the shortcuts see a key, its control is asked whether it wants
    // it itself; the window answers first for the keys it must keep.
    if (ereignis->type() == QEvent::ShortcutOverride && objekt->isWidgetType()) {
        auto* w = static_cast<QWidget*>(objekt);
        if (w->window() == this && tastenVorrang(w, static_cast<QKeyEvent*>(ereignis))) return true;
    }
    // Every key reaches its window exactly once; that is where the Insert
    // toggle and the lock keys are watched.
    if (ereignis->type() == QEvent::KeyPress && objekt->isWindowType()) {
        auto* e = static_cast<QKeyEvent*>(ereignis);
        if (!e->isAutoRepeat()) {
            if (e->key() == Qt::Key_Insert) {
                m_einfuegen = !m_einfuegen;
                aktualisiereStatus();
            } else if (e->key() == Qt::Key_CapsLock || e->key() == Qt::Key_NumLock || e->key() == Qt::Key_ScrollLock) {
                QTimer::singleShot(50, this, &frmMain::aktualisiereStatus);
            }
        }
    }
    return QMainWindow::eventFilter(objekt, ereignis);
}

}  // namespace talu
