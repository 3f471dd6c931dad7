#pragma once
#include <functional>

class QTabWidget;
class QWidget;

namespace talu {

// The keyboard road of the forms. Through the pages of a form's tab control: Ctrl+Tab and
// Ctrl+PgDown show the next page, Ctrl+Shift+Tab and Ctrl+PgUp the previous
// one, wrapping at both ends, wherever the focus is inside the form. Without
// this the MDI area takes Ctrl+Tab to switch child windows, and a form whose
// pages hold no focusable box could not be paged by keyboard at all.
void richteSeitenwechselEin(QTabWidget* seiten, QWidget* form);

// Shows the page `schritt` pages on (negative: back), wrapping; hidden and
// disabled pages are stepped over.
void blaettere(QTabWidget* seiten, int schritt);

// Whenever the form as a whole is given the focus (the form registry does so
// once a form is shown), the control that `ziel` names takes it over. Unlike
// a focus proxy this leaves the Tab order alone: with a proxy on the last
// control of the order, Tab from that control would stay on it.
void setzeFokusziel(QWidget* form, std::function<QWidget*()> ziel);

}  // namespace talu
