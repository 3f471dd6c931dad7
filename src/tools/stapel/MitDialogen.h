#pragma once
#include "tools/stapel/Stapelauftrag.h"

class QWidget;

namespace talu::stapel {

// The program's boxes (talu::dialoge(): the real ones, or those a test has
// set) for a command's messages and questions; its progress goes to the
// display given (a progress dialog, a counter form, the status panel), which
// steps aside before every box, so that the box is never covered and gets
// the keys. The closing questions show no icon.
class MitDialogen : public Anzeige {
public:
    explicit MitDialogen(QWidget* eltern = nullptr, Anzeige* anzeige = nullptr)
        : m_eltern(eltern), m_anzeige(anzeige) {}
    void melde(qint64 erledigt, qint64 gesamt, const QString& text) override;
    void zaehle(const QList<Zaehler>& zaehler, const QString& text) override;
    bool abbruchGewuenscht() override;
    void beiseite() override;
    void info(const QString& text) override;
    void fehler(const QString& text, const QString& details = {}) override;
    bool frage(const QString& text) override;
    QString eingabe(const QString& aufforderung) override;

private:
    QWidget* m_eltern;
    Anzeige* m_anzeige;
};

}  // namespace talu::stapel
