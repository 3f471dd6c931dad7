#pragma once
#include <QPrinterInfo>

#include "billing/PdfAusgabe.h"

namespace talu::druck {

// The system's default printer, as it is when the target is made. Each print
// job of a document is one job on the printer. Where the system has no
// default printer, every document goes to a PDF file in the given folder
// instead, and the result says so. (Needs Qt's print support, which brings
// the widget library with it.)
class DruckerZiel : public Druckziel {
public:
    explicit DruckerZiel(const QString& ersatzOrdner);
    DruckErgebnis gibAus(const Druckdokument& d) override;
    bool druckt() const override { return !m_drucker.isNull(); }
    // Files can be written ahead and withdrawn; paper cannot.
    bool imVoraus() const override { return m_drucker.isNull(); }
    void zurueckziehen(const DruckErgebnis& e) override;
    // Paper is printed when the document is made final; PDF files in its
    // stead go the two steps of the folder.
    Vorlaeufig vorbereite(const Druckdokument& d) override;
    DruckErgebnis uebernimm(const Vorlaeufig& v) override;
    void verwirf(const Vorlaeufig& v) override { m_ersatz.verwirf(v); }
    void raeumeAuf() override { m_ersatz.raeumeAuf(); }

    static bool druckerVorhanden();

private:
    QPrinterInfo m_drucker;
    PdfAblage m_ersatz;
};

}  // namespace talu::druck
