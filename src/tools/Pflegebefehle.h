#pragma once
#include <QList>
#include <QString>
#include <functional>
#include <memory>

#include "tools/stapel/Stapelauftrag.h"

namespace talu::pflege {

// One maintenance command as the menu and the command line know it.
struct Pflegebefehl {
    QString name;    // on the command line, e.g. "durchschnitt-orte"
    // The menu entry's object name, e.g. "mnuDurchschnittswerteOrte"; empty
    // for a command that its progress form starts.
    QString menue;
    std::function<std::unique_ptr<stapel::Auftrag>()> erzeuge;
    // The message after a successful run (OK only, no icon, empty title); empty: none.
    QString fertig;
    // The text the command leaves in the status bar; empty: none.
    std::function<QString(const stapel::Auftrag&)> statusText;
};

const QList<Pflegebefehl>& pflegebefehle();
const Pflegebefehl* findeBefehl(const QString& name);
const Pflegebefehl* findeMenueBefehl(const QString& menue);
// The message after a run to its end: the command's end message and what the job adds; empty: none.
QString endText(const Pflegebefehl& b, const stapel::Auftrag& a);

}  // namespace talu::pflege
