#pragma once
#include <QString>

#include "tools/stapel/Stapelauftrag.h"

namespace talu::pflege {

// Clean-up of the plot table and the place data; each command is one
// transaction and stores exactly what a pass row by row would store.

// "Ausgefüllt-Merker setzen": ausgefuellt "j" where a land value is greater
// than 0 or the remark holds more than spaces, else "n".
class AusgefuelltAuftrag : public stapel::Auftrag {
public:
    QString titel() const override { return QString::fromUtf8("Ausgefüllt-Merker setzen"); }
    void fuehreAus(stapel::Kontext& k) override;
};

// "Doppelte Grundstücke löschen": among the plots whose key begins with
// "03", in the order of key, street, house number and filled flag (Null
// first in each, ties by id), a plot whose key, street, house number and
// part of town equal those of the plot before it is marked loeschen "ja",
// every other "nein"; a Null equals nothing. The first plot of the
// selection is not written.
class DoppelteAuftrag : public stapel::Auftrag {
public:
    QString titel() const override { return QString::fromUtf8("Doppelte Grundstücke löschen"); }
    void fuehreAus(stapel::Kontext& k) override;
    static QString praefix() { return QStringLiteral("03"); }
    static QString naechsterPraefix();  // "04"
};

// "Dupes zählen": in ortsdaten_p_id order (ties by id) deletes the rows
// without a key (uncounted) and every row whose key equals the key of the row
// right before it (counted). Rows of one key are found only as neighbours.
class DupesAuftrag : public stapel::Auftrag {
public:
    QString titel() const override { return QString::fromUtf8("Dupes zählen"); }
    void fuehreAus(stapel::Kontext& k) override;
    qint64 schluessel() const { return m_schluessel; }
    qint64 geloescht() const { return m_geloescht; }
    // The status-bar text: each number with the blank of its sign in front.
    static QString text(qint64 schluessel, qint64 geloescht);

private:
    qint64 m_schluessel = 0, m_geloescht = 0;
};

// "Numerische Hausnummern ausfüllen": hausnummer_numerisch = the leading
// number of hausnummer as fuehrendeZahl() reads it; 0 for a Null house number.
class HausnummernAuftrag : public stapel::Auftrag {
public:
    QString titel() const override { return QString::fromUtf8("Numerische Hausnummern ausfüllen"); }
    void fuehreAus(stapel::Kontext& k) override;
};

QString bereinigungFertigText();      // "Fertig!"
QString hausnummernFertigText();      // "Fertig"

}  // namespace talu::pflege
