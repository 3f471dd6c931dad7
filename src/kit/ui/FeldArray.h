#pragma once
#include <QColor>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QVector>
#include <functional>

class QFocusEvent;
class QKeyEvent;

namespace talu {

// The shared behaviour of a record form's field array (text(0) ... text(n-1)):
// the focused field is shown inverted (white on dark blue) and fully selected,
// Enter and Down move to the next field, Up to the previous one, both with
// wrap-around; Enter never reaches the field. One field (11 unless told
// otherwise) turns a typed "j"/"n" into "Ja"/"Nein" when it is left.
//
// A field entered by a mouse click is selected as well, so that typing
// replaces its text; only the field with the focus shows a text cursor.
// Leaving the window (a message box, another program) or closing the form does
// not count as leaving the field.
//
// Forms that need more attach their own behaviour through the hooks: the
// signals feldBetreten/feldVerlassen run after the shared rule, a key hook
// may take a key before the shared navigation sees it, and a check may refuse
// a text when the field is left. Give the form (a Q_OBJECT class) as parent:
// while it is being destroyed, fields that lose the focus call no hook.
class FeldArray : public QObject {
    Q_OBJECT
public:
    static constexpr int StandardJaNeinFeld = 11;
    static constexpr int KeinJaNeinFeld = -1;

    explicit FeldArray(const QVector<QLineEdit*>& felder, QObject* parent = nullptr,
                       int jaNeinFeld = StandardJaNeinFeld);
    ~FeldArray() override;

    int anzahl() const { return int(m_felder.size()); }
    QLineEdit* feld(int index) const;
    // Index of a field of this array, or -1.
    int indexVon(const QObject* o) const;

    void setzeJaNeinFeld(int index) { m_jaNein = index; }
    int jaNeinFeld() const { return m_jaNein; }

    // Called with the field index and the key before the shared handling;
    // return true when the hook has handled the key (the shared rule is skipped).
    using TastenHook = std::function<bool(int index, QKeyEvent* taste)>;
    void setzeTastenHook(TastenHook hook) { m_tastenHook = std::move(hook); }

    // Called with the field index and its text when the field is left; a
    // non-empty answer refuses the text: the answer is shown as a message and
    // the focus stays in the field, with its text selected.
    using Pruefung = std::function<QString(int index, const QString& text)>;
    void setzePruefung(Pruefung pruefung) { m_pruefung = std::move(pruefung); }
    // Moving the focus to this control (a "Zurück" button) leaves a field unchecked.
    void ohnePruefungZu(QWidget* ziel) { m_ohnePruefung << ziel; }
    // The field that refused its text and has not been left since, or -1.
    int abgewiesen() const { return m_abgewiesen; }

    // Moves the focus as Enter/Down (+1) or Up (-1) would from the given field.
    void bewege(int vonIndex, int richtung);

    // The two colours of the 16-colour palette the fields use.
    static QColor qbColor(int nummer);
    // Applies the colours of an unfocused or a focused field.
    static void setzeFarben(QLineEdit* feld, bool fokus);
    // The yes/no rule on its own: "j"/"J" -> "Ja", "n"/"N" -> "Nein", all else unchanged.
    static QString jaNeinText(const QString& text);

signals:
    void feldBetreten(int index);
    void feldVerlassen(int index);

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void betreten(int index);
    void verlassen(int index);
    void fokusHinein(int index, QFocusEvent* e);
    void fokusHinaus(int index, QFocusEvent* e);
    // Takes the focus back into a field whose text was refused.
    void weise(int index, const QString& meldung);
    bool maus(int index, QEvent* e);
    bool taste(int index, QKeyEvent* e);
    // True while the form that owns the array is being destroyed.
    bool besitzerZerfaellt() const;

    QVector<QPointer<QLineEdit>> m_felder;
    int m_jaNein;
    TastenHook m_tastenHook;
    Pruefung m_pruefung;
    QVector<QPointer<QWidget>> m_ohnePruefung;
    const QMetaObject* m_besitzerKlasse = nullptr;
    int m_betreten = -1;    // the field entered last and not yet left
    int m_abgewiesen = -1;
    int m_perMaus = -1;     // entered by a click whose press and release are still to come
};

}  // namespace talu
