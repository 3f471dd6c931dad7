#pragma once
#include <QApplication>
#include <QString>
#include <exception>

namespace talu {

class DbFehler;

// The application object. An error that escapes an event handler (a failed
// statement, any standard exception) does not end the program: the operator
// sees a German message with the server's own text and carries on. Alt plus a
// letter that no control uses types nothing.
class TaluAnwendung : public QApplication {
    Q_OBJECT
public:
    TaluAnwendung(int& argc, char** argv);
    bool notify(QObject* empfaenger, QEvent* ereignis) override;

    // The texts of that message (main text, details).
    static QString meldungstext(const DbFehler& f);
    static QString meldungstext(const std::exception& f);
    static QString meldungsdetails(const DbFehler& f);

private:
    // A key press with Alt and a printable character that reached a widget:
    // no control took it as its mnemonic, so it must not type anything.
    static bool altTasteOhneZiel(const QObject* empfaenger, const QEvent* ereignis);
    void melde(const QString& text, const QString& details);
    bool m_meldet = false;
};

}  // namespace talu
