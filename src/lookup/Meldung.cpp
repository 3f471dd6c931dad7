#include "lookup/Meldung.h"

#include <QApplication>
#include <QCursor>

#include "app/Dialoge.h"

namespace talu::lookup {

namespace {
int& offeneSanduhren() {
    static int n = 0;
    return n;
}
}  // namespace

Sanduhr::Sanduhr() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_an = true;
    ++offeneSanduhren();
}

Sanduhr::~Sanduhr() { aus(); }

void Sanduhr::aus() {
    if (!m_an) return;
    m_an = false;
    --offeneSanduhren();
    QApplication::restoreOverrideCursor();
}

void zeigeMeldung(QWidget* eltern, const Meldung& m) {
    // Lift the hourglass while the operator reads the message.
    const bool sanduhr = offeneSanduhren() > 0 && QApplication::overrideCursor();
    if (sanduhr) QApplication::setOverrideCursor(Qt::ArrowCursor);
    dialoge().meldung(eltern, m.art == Meldung::Kritisch ? Dialoge::Symbol::Kritisch : Dialoge::Symbol::Information,
                      m.titel, m.text);
    if (sanduhr) QApplication::restoreOverrideCursor();
}


Meldung datenbankMeldung(const QString& kurz, const QString& serverText) {
    return {Meldung::Kritisch, QString(), kurz + "\n\n" + serverText};
}

}  // namespace talu::lookup
