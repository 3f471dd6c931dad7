#pragma once
#include <QString>

class QWidget;

namespace talu::lookup {

// A message the lookup forms show to the operator. The logic classes return
// them instead of opening boxes, so they can be checked without a screen.
struct Meldung {
    enum Art { Information, Kritisch };
    Art art = Information;
    QString titel;  // empty or "Information", as the forms use them
    QString text;
};

// Shows the message through the program's message boxes (talu::dialoge()),
// with the normal mouse pointer while it is open.
void zeigeMeldung(QWidget* eltern, const Meldung& m);

// The message for a failed database operation: what failed and the server's own text.
Meldung datenbankMeldung(const QString& kurz, const QString& serverText);

// The hourglass for the scope of a database operation; lifted again by
// zeigeMeldung so that a message is never answered under the hourglass.
class Sanduhr {
public:
    Sanduhr();
    ~Sanduhr();
    Sanduhr(const Sanduhr&) = delete;
    Sanduhr& operator=(const Sanduhr&) = delete;
    void aus();

private:
    bool m_an = false;
};

}  // namespace talu::lookup
