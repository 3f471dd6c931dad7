#pragma once

class QTabWidget;
class QWidget;

namespace talu {

// The keyboard road through the pages of a form's tab control: Ctrl+Tab and
// Ctrl+PgDown show the next page, Ctrl+Shift+Tab and Ctrl+PgUp the previous
// one, wrapping at both ends, wherever the focus is inside the form. Without
// this the MDI area takes Ctrl+Tab to switch child windows, and a form whose
// pages hold no focusable box could not be paged by keyboard at all.
void richteSeitenwechselEin(QTabWidget* seiten, QWidget* form);

// Shows the page `schritt` pages on (negative: back), wrapping; hidden and
// disabled pages are stepped over.
void blaettere(QTabWidget* seiten, int schritt);

}  // namespace talu
