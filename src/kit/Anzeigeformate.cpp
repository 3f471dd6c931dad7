#include "kit/Anzeigeformate.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>

#include "kit/Formate.h"
#include "db/Recordset.h"
#include "kit/Vokabular.h"

namespace talu::anzeige {

namespace {

bool istNull(const QVariant& v) { return !v.isValid() || v.isNull(); }

bool istZahlTyp(const QVariant& v) {
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
            return true;
        default:
            return false;
    }
}

// A stored value as a number: numbers as they are, text as the locale reads it.
bool alsZahl(const QVariant& v, double& d) {
    if (istNull(v)) return false;
    if (istZahlTyp(v)) {
        d = v.toDouble();
        return true;
    }
    const QString t = v.toString().trimmed();
    if (t.isEmpty()) return false;
    bool ok = false;
    d = leseZahl(t, &ok);
    return ok;
}

// The nearest whole number, where one fits in 64 bits; llround gives an
// arbitrary value for anything larger, infinite or not a number.
bool ganzeZahl(double d, qint64& n) {
    if (!std::isfinite(d) || std::fabs(d) >= 9.2e18) return false;
    n = std::llround(d);
    return true;
}

QString gruppiert(qint64 n) {
    QLocale l = regionalLocale();
    l.setNumberOptions(l.numberOptions() & ~QLocale::OmitGroupSeparator);
    return l.toString(n);
}

// Text without currency sign, blanks and the given unit, ready to be read as a number.
QString nackt(QString t, const QString& einheit = {}) {
    t = t.trimmed();
    if (!einheit.isEmpty() && t.endsWith(einheit, Qt::CaseInsensitive)) t.chop(einheit.size());
    const QString zeichen = regionalLocale().currencySymbol();
    t.remove(QStringLiteral("€"));
    if (!zeichen.isEmpty()) t.remove(zeichen);
    t.remove(QChar(0x00A0));
    return t.trimmed();
}

}  // namespace

SchluesselTeile zerlegeSchluessel(const QString& s) {
    return {s.mid(0, 2), s.mid(2, 1), s.mid(3, 2), s.mid(5, 3)};
}

QString dienststellenNummer(const QString& dstnr) {
    const QString d = dstnr.trimmed();
    return d.left(3) + "." + d.right(2);
}

QString muster(const QVariant& wert) {
    double d = 0;
    qint64 ganz = 0;
    if (!alsZahl(wert, d) || !ganzeZahl(d, ganz)) return istNull(wert) ? QString() : wert.toString().trimmed();
    if (ganz == 0) return QString();
    return gruppiert(ganz);
}

QString mitEinheit(const QVariant& wert, const QString& einheit) {
    double d = 0;
    qint64 ganz = 0;
    if (!alsZahl(wert, d) || !ganzeZahl(d, ganz)) return istNull(wert) ? QString() : wert.toString().trimmed();
    if (ganz == 0) return QString();
    return QString::number(ganz) + einheit;
}

QString ortstypText(const QVariant& typ) {
    if (istNull(typ)) return {};
    const int t = int(ZahlOderNull(typ));
    if (t <= 0) return QStringLiteral("Kreisfreie Stadt");
    if (t == 1) return QStringLiteral("Stadt");
    if (t == 2) return QStringLiteral("Gemeinde");
    return QStringLiteral("Eingemeindet");
}

QString gradText(const QVariant& laenge, const QVariant& breite) {
    if (istNull(laenge) || istNull(breite)) return {};
    const QString l = laenge.toString().trimmed();
    const QString b = breite.toString().trimmed();
    return l.mid(0, 2) + "° " + l.mid(2, 2) + "' " + l.mid(4, 4) + "'' N - " + b.mid(0, 2) + "° " + b.mid(2, 2) +
           "' " + b.mid(4, 4) + "'' E";
}

QString utmText(const QVariant& rechts, const QVariant& hoch) {
    if (istNull(rechts) || istNull(hoch)) return {};
    return zahlText(rechts, false) + " - " + zahlText(hoch, false);
}

QString waehrungWennNichtNull(const QVariant& wert) {
    double d = 0;
    if (!alsZahl(wert, d) || d == 0) return {};
    return waehrung(d);
}

QString waehrungOderLeer(const QVariant& wert) {
    double d = 0;
    if (!alsZahl(wert, d)) return {};
    return waehrung(d);
}

QString codeText(const QVariant& wert) {
    QVariant v = wert;
    return Uebersetze(v);
}

QString zahlText(const QVariant& wert, bool gruppierenErlaubt) {
    if (istNull(wert)) return {};
    if (!istZahlTyp(wert)) return wert.toString().trimmed();
    QLocale l = regionalLocale();
    if (!gruppierenErlaubt) l.setNumberOptions(l.numberOptions() | QLocale::OmitGroupSeparator);
    const double d = wert.toDouble();
    if (d == std::floor(d) && std::fabs(d) < 1e15) return l.toString(qint64(d));
    return l.toString(d, 'f', QLocale::FloatingPointShortest);
}

QString datumsText(const QVariant& wert) {
    if (istNull(wert)) return {};
    const QDate d = alsDatum(wert);
    return d.isValid() ? datumText(d) : wert.toString().trimmed();
}

QString trimText(const QVariant& wert) { return istNull(wert) ? QString() : zahlText(wert, false); }

QString paar(const QString& a, const QString& b, const QString& trenner) {
    return a.trimmed() + trenner + b.trimmed();
}

QString formatiereMuster(const QString& text, const QString& einheit) {
    const QString t = nackt(text, einheit.trimmed());
    if (t.isEmpty()) return text.trimmed().isEmpty() ? QString() : text;
    bool ok = false;
    const double d = leseZahl(t, &ok);
    qint64 ganz = 0;
    if (!ok || !ganzeZahl(d, ganz)) return text;
    if (ganz == 0) return QString();
    return gruppiert(ganz) + einheit;
}

QString formatiereBetrag(const QString& text) {
    const QString t = nackt(text);
    if (t.isEmpty()) return text;
    bool ok = false;
    const double d = leseZahl(t, &ok);
    return ok ? waehrung(d) : text;
}

QString formatiereGanzzahl(const QString& text, const QString& einheit) {
    const QString t = nackt(text, einheit.trimmed());
    if (t.isEmpty()) return text;
    bool ok = false;
    const double d = leseZahl(t, &ok);
    qint64 ganz = 0;
    if (!ok || !ganzeZahl(d, ganz)) return text;
    return QString::number(ganz) + einheit;
}

QString formatiereCode(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 4) return text;
    QVariant v = t;
    const QString u = Uebersetze(v);
    return u.isEmpty() ? text : u;  // an unknown short text stays as typed
}

bool istBetrag(const QString& text) {
    QString t = text.trimmed();
    if (t.isEmpty()) return true;
    const QString zeichen = regionalLocale().currencySymbol();
    // One sign, at one end.
    for (const QString& z : {QStringLiteral("€"), zeichen}) {
        if (z.isEmpty()) continue;
        if (t.endsWith(z)) {
            t.chop(z.size());
            break;
        }
        if (t.startsWith(z)) {
            t.remove(0, z.size());
            break;
        }
    }
    t.remove(QChar(0x00A0));
    t = t.trimmed();
    if (t.isEmpty() || t.contains(QStringLiteral("€")) || (!zeichen.isEmpty() && t.contains(zeichen))) return false;
    bool ok = false;
    leseZahl(t, &ok);
    return ok;
}

double betrag(const QString& text) {
    const QString t = nackt(text);
    if (t.isEmpty()) return 0;
    bool ok = false;
    const double d = leseZahl(t, &ok);
    return ok ? d : 0;
}

QVariant zahlOderLeer(const QString& text) {
    const QString t = nackt(text);
    if (t.isEmpty()) return QVariant(QMetaType::fromType<double>());
    bool ok = false;
    const double d = leseZahl(t, &ok);
    return ok ? QVariant(d) : QVariant(QMetaType::fromType<double>());
}

QVariant datumOderNull(const QString& text) {
    const QString t = text.trimmed();
    const QVariant leer(QMetaType::fromType<QDate>());
    if (t.isEmpty()) return leer;
    for (const char* f : {"dd.MM.yyyy", "d.M.yyyy", "dd.MM.yy", "d.M.yy", "yyyy-MM-dd"}) {
        QDate d = QDate::fromString(t, QString::fromLatin1(f));
        if (!d.isValid()) continue;
        // Two-digit years: 00-29 are this century, the rest the last one.
        if (QString::fromLatin1(f).endsWith("yy") && !QString::fromLatin1(f).endsWith("yyyy") && d.year() < 1930)
            d = d.addYears(100);
        return d;
    }
    return leer;
}

QString code(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    QVariant v = t;
    const QString u = Uebersetze(v);
    // A short value that translates is itself a code (left unformatted).
    if (t.size() <= 4 && !u.isEmpty() && u.size() > 4) return t.toLower();
    return u;
}

QString ohneEinheit(const QString& text, const QString& einheit) {
    const QString t = text.trimmed();
    if (t.endsWith(einheit, Qt::CaseInsensitive)) return t.left(t.size() - einheit.size()).trimmed();
    bool ok = false;
    leseZahl(t, &ok);
    return ok ? t : QString();
}

QVariant flaecheAusText(const QString& text, bool* hat) {
    const QString t = text.trimmed();
    *hat = t.endsWith(QStringLiteral("km²"), Qt::CaseInsensitive);
    if (!*hat) return {};
    return zahlOderLeer(t.left(t.size() - 3));
}

int ortstypAusText(const QString& text) {
    const QString t = text.trimmed().toLower();
    if (t.isEmpty()) return -1;
    bool ok = false;
    const int n = t.toInt(&ok);
    if (ok) return n >= 0 ? n : -1;
    if (t == QStringLiteral("kreisfreie stadt")) return 0;
    if (t == QStringLiteral("stadt")) return 1;
    if (t == QStringLiteral("gemeinde")) return 2;
    if (t == QStringLiteral("eingemeindet")) return 3;
    return -1;
}

}  // namespace talu::anzeige
