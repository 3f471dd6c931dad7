#pragma once
#include "billing/PdfAusgabe.h"

namespace talu::druck {

// The system's default printer. Each print job of a document is one job on
// the printer. Where the system has no default printer, the document goes
// to a PDF file in the given folder instead, and the result says so.
// (Needs Qt's print support, which brings the widget library with it.)
class DruckerZiel : public Druckziel {
public:
    explicit DruckerZiel(const QString& ersatzOrdner);
    DruckErgebnis gibAus(const Druckdokument& d) override;
    bool druckt() const override { return druckerVorhanden(); }

    static bool druckerVorhanden();
    static QString druckerName();

private:
    PdfAblage m_ersatz;
};

}  // namespace talu::druck
