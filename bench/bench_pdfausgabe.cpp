// The PDF writer alone: one invoice of the size the invoice run's customers
// have (default 500 items, about 3,400 printed lines with both copies),
// written to a PDF file again and again (default 20 times), in one worker
// thread.
// Prints the time per printed line and the file size; the invoice run's PDF
// time is about this figure times its printed lines, shared by its threads.
// Usage: [TALU_BENCH_PDF=file.pdf] bench_pdfausgabe [items] [repetitions]
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <sys/resource.h>
#include <thread>

#include "billing/PdfAusgabe.h"
#include "billing/RechnungsLayout.h"

using namespace talu;

namespace {
double cpuSekunden() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_utime.tv_sec + r.ru_stime.tv_sec + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}
}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("LC_ALL")) qputenv("LC_ALL", "de_DE.UTF-8");
    QGuiApplication app(argc, argv);
    const int anzahl = argc > 1 ? QString(argv[1]).toInt() : 500;
    const int wiederholungen = argc > 2 ? QString(argv[2]).toInt() : 20;
    QTextStream out(stdout);

    abrechnung::Kunde k{7, "kunde0007", QStringLiteral("Kunde 7 GmbH"), QStringLiteral("z. Hd. Buchhaltung"),
                        QStringLiteral("Hauptstraße 1"), "60311", "Frankfurt am Main"};
    const char* const vorgang[] = {"Grundstücksdaten", "Ortsdaten", "Marktübersichten"};
    QList<abrechnung::Posten> posten;
    for (int i = 0; i < anzahl; ++i)
        posten << abrechnung::Posten{1000 + 7 * i, QDate(2026, 1, 1).addDays(i % 365),
                                     QStringLiteral("%1:%2").arg(8 + i % 10, 2, 10, QChar('0')).arg(i % 60, 2, 10, QChar('0')),
                                     QString::fromUtf8(vorgang[i % 3]), QStringLiteral("0%1").arg(3000000 + 7919 * i),
                                     QStringLiteral("%1 Ort %2 - Straße %3").arg(10000 + 37 * i).arg(i % 977).arg(i % 100),
                                     i % 3 == 1 ? 2.5 : 12.5};
    const druck::Druckdokument d = abrechnung::rechnungsDokument(k, 2026001, QDate(2026, 3, 2), posten, false);
    QTemporaryDir dir;
    // TALU_BENCH_PDF=file keeps the last document for a look.
    const QString pfad = qEnvironmentVariableIsSet("TALU_BENCH_PDF") ? qEnvironmentVariable("TALU_BENCH_PDF")
                                                                      : dir.filePath("r.pdf");
    const double cpu = cpuSekunden();
    QElapsedTimer t;
    t.start();
    // In a worker thread, as the invoice run writes its documents.
    std::thread faden([&] {
        for (int i = 0; i < wiederholungen; ++i) druck::schreibePdf(d, pfad);
    });
    faden.join();
    const double s = t.nsecsElapsed() / 1e9, c = cpuSekunden() - cpu;
    const double zeilen = double(d.zeilenAnzahl()) * wiederholungen;
    out << QString("%1 Druckzeilen je Rechnung, %2 Mal: %3 s (CPU %4 s), %5 µs je Zeile (CPU %6 µs), %7 KB PDF\n")
               .arg(d.zeilenAnzahl())
               .arg(wiederholungen)
               .arg(s, 0, 'f', 2)
               .arg(c, 0, 'f', 2)
               .arg(s / zeilen * 1e6, 0, 'f', 2)
               .arg(c / zeilen * 1e6, 0, 'f', 2)
               .arg(QFileInfo(pfad).size() / 1024);
    return 0;
}
