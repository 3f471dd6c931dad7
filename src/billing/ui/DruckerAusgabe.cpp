#include "billing/ui/DruckerAusgabe.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace talu::druck {

DruckerZiel::DruckerZiel(const QString& ersatzOrdner)
    : m_drucker(QPrinterInfo::defaultPrinter()), m_ersatz(ersatzOrdner) {}

bool DruckerZiel::druckerVorhanden() { return !QPrinterInfo::defaultPrinter().isNull(); }

void DruckerZiel::zurueckziehen(const DruckErgebnis& e) {
    if (!e.gedruckt) m_ersatz.zurueckziehen(e);
}

Vorlaeufig DruckerZiel::vorbereite(const Druckdokument& d) {
    if (m_drucker.isNull()) return m_ersatz.vorbereite(d);
    return {d, {}};
}

DruckErgebnis DruckerZiel::uebernimm(const Vorlaeufig& v) {
    if (m_drucker.isNull()) return m_ersatz.uebernimm(v);
    return gibAus(v.dokument);
}

DruckErgebnis DruckerZiel::gibAus(const Druckdokument& d) {
    // Without a printer this may run in a worker thread: it touches only the files.
    if (m_drucker.isNull()) return m_ersatz.gibAus(d);
    const QPrinterInfo& info = m_drucker;

    QList<Seite> seiten;
    int auftraege = 1;
    for (int a = 0; a < auftraege; ++a) {
        QPrinter drucker(info, QPrinter::HighResolution);
        drucker.setPageLayout(seitenLayout());
        drucker.setDocName(d.nummer().isEmpty() ? d.art() : d.art() + QLatin1Char(' ') + d.nummer());
        if (a == 0) {
            // Laid out for this printer's printable area.
            seiten = seitenAufteilen(d, seitenmass(drucker));
            auftraege = 0;
            for (const Seite& s : seiten) auftraege = qMax(auftraege, s.auftrag + 1);
            if (auftraege == 0) throw DruckFehler(QStringLiteral("Das Dokument hat keine Zeile."));
        }
        QList<Seite> diese;
        for (const Seite& s : seiten)
            if (s.auftrag == a) diese << s;
        QPainter maler;
        if (!maler.begin(&drucker))
            throw DruckFehler(QStringLiteral("Der Drucker \"%1\" nimmt keinen Auftrag an.").arg(info.printerName()));
        malePages(maler, drucker, diese);
        if (!maler.end() || drucker.printerState() == QPrinter::Error)
            throw DruckFehler(QStringLiteral("Der Drucker \"%1\" meldet einen Fehler.").arg(info.printerName()));
    }
    return {true, {}, info.printerName()};
}

}  // namespace talu::druck
