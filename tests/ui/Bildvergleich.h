#pragma once
// Pixel checks of text boxes for the form tests.
#include <QImage>
#include <QLineEdit>

namespace talu::test {

// True when the box looks exactly like a box with the same text, colours and
// size that never had the focus: no text cursor, no visible selection. The
// twin stands in the same window, so that both paint with the same colour group.
inline bool siehtUnberuehrtAus(QLineEdit* feld) {
    QLineEdit zwilling(feld->parentWidget());
    zwilling.setStyle(feld->style());
    zwilling.setFont(feld->font());
    zwilling.setPalette(feld->palette());
    zwilling.setFrame(feld->hasFrame());
    zwilling.setAlignment(feld->alignment());
    zwilling.setText(feld->text());
    zwilling.setCursorPosition(0);
    zwilling.setGeometry(feld->geometry());
    zwilling.setFocusPolicy(Qt::NoFocus);
    zwilling.show();
    return zwilling.grab().toImage() == feld->grab().toImage();
}

}  // namespace talu::test
