#pragma once
#include <QList>
#include <QString>

namespace talu {

class Datenbank;
struct Publics;

struct GutachterTreffer {
    double id = 0;
    QString name, ort;
    // "Name, Ort" as the place form shows its appraiser.
    QString anzeige() const { return name.trimmed() + ", " + ort.trimmed(); }
};

// Appraisers whose name contains the term (any case); an empty term lists all, by name.
QList<GutachterTreffer> sucheGutachter(const Datenbank& db, const QString& teil);
// Hands the choice to the place form through the shared state.
void waehleGutachterFuerOrt(Publics& p, const GutachterTreffer& g);

}  // namespace talu
