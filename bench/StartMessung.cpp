#include "StartMessung.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "BenchDatenbank.h"
#include "BenchLauf.h"
#include "login/ZugangsDatei.h"

#ifdef TALU_BENCH_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <dlfcn.h>
#include <poll.h>
#endif

extern char** environ;

namespace talu::bench {

double residentMb(qint64 pid) {
    QFile f(QString("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return std::numeric_limits<double>::quiet_NaN();
    for (const QByteArray& z : f.readAll().split('\n'))
        if (z.startsWith("VmRSS:")) return z.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return std::numeric_limits<double>::quiet_NaN();
}

namespace {

// Starts a program with the given environment changes; returns its pid or -1.
pid_t starte(const QByteArray& programm, const QList<QByteArray>& argumente, const QList<QByteArray>& umgebung,
             const QStringList& ohne) {
    QList<QByteArray> env;
    for (char** e = environ; *e; ++e) {
        const QByteArray z(*e);
        const QString name = QString::fromLocal8Bit(z.left(z.indexOf('=')));
        bool ersetzt = ohne.contains(name);
        for (const QByteArray& u : umgebung) ersetzt = ersetzt || u.startsWith(z.left(z.indexOf('=') + 1));
        if (!ersetzt) env << z;
    }
    env += umgebung;
    std::vector<char*> argv, envp;
    QList<QByteArray> a = argumente;
    a.prepend(programm);
    for (QByteArray& x : a) argv.push_back(x.data());
    argv.push_back(nullptr);
    for (QByteArray& x : env) envp.push_back(x.data());
    envp.push_back(nullptr);
    // The program's own output would mix with the table; it goes nowhere.
    posix_spawn_file_actions_t aktionen;
    posix_spawn_file_actions_init(&aktionen);
    posix_spawn_file_actions_addopen(&aktionen, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&aktionen, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, programm.constData(), &aktionen, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&aktionen);
    return rc == 0 ? pid : -1;
}

void beende(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        QThread::msleep(60);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

#ifdef TALU_BENCH_X11

const QString kLoginTitel = QStringLiteral("WQN-TALU - Anmeldung");

// A virtual display of our own; -displayfd lets Xvfb pick a free number.
struct Anzeige {
    pid_t pid = -1;
    QByteArray name;
    ~Anzeige() { beende(pid); }
    bool starte(QString& fehler) {
        int fd[2];
        if (pipe(fd) != 0) return fehler = "pipe", false;
        const QByteArray nr = QByteArray::number(fd[1]);
        posix_spawn_file_actions_t aktionen;
        posix_spawn_file_actions_init(&aktionen);
        posix_spawn_file_actions_addclose(&aktionen, fd[0]);
        posix_spawn_file_actions_addopen(&aktionen, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&aktionen, 2, "/dev/null", O_WRONLY, 0);
        char* argv[] = {const_cast<char*>("Xvfb"), const_cast<char*>("-displayfd"), const_cast<char*>(nr.constData()),
                        const_cast<char*>("-screen"), const_cast<char*>("0"), const_cast<char*>("1600x1000x24"),
                        const_cast<char*>("-nolisten"), const_cast<char*>("tcp"), const_cast<char*>("-noreset"), nullptr};
        const int rc = posix_spawnp(&pid, "Xvfb", &aktionen, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&aktionen);
        close(fd[1]);
        if (rc != 0) {
            close(fd[0]);
            pid = -1;
            return fehler = "Xvfb nicht gefunden (Paket xvfb)", false;
        }
        pollfd p{fd[0], POLLIN, 0};
        QByteArray zahl;
        while (poll(&p, 1, 10000) > 0) {
            char c;
            if (read(fd[0], &c, 1) != 1 || c == '\n') break;
            zahl += c;
        }
        close(fd[0]);
        if (zahl.isEmpty()) return fehler = "Xvfb meldet keine Anzeige", false;
        name = ":" + zahl;
        return true;
    }
};

// Windows come and go while they are looked at; an error about one that is
// gone already is no reason to end the measurement (Xlib's default would).
int ohneAbbruch(Display*, XErrorEvent*) { return 0; }

class Beobachter {
public:
    explicit Beobachter(const QByteArray& anzeige) {
        XSetErrorHandler(ohneAbbruch);
        m_d = XOpenDisplay(anzeige.constData());
        if (!m_d) return;
        m_root = DefaultRootWindow(m_d);
        m_netName = XInternAtom(m_d, "_NET_WM_NAME", False);
        m_utf8 = XInternAtom(m_d, "UTF8_STRING", False);
        XSelectInput(m_d, m_root, SubstructureNotifyMask);
        XSync(m_d, False);
    }
    ~Beobachter() {
        if (m_d) XCloseDisplay(m_d);
    }
    bool ok() const { return m_d != nullptr; }

    // Waits until a window whose title passes is mapped; returns it (0 on timeout).
    Window warte(const std::function<bool(const QString&)>& passt, int ms) {
        QElapsedTimer uhr;
        uhr.start();
        for (;;) {
            while (XPending(m_d)) {
                XEvent e;
                XNextEvent(m_d, &e);
                Window w = 0;
                if (e.type == CreateNotify) {
                    XSelectInput(m_d, e.xcreatewindow.window, PropertyChangeMask | StructureNotifyMask);
                } else if (e.type == MapNotify) {
                    m_sichtbar.insert(e.xmap.window);
                    w = e.xmap.window;
                } else if (e.type == UnmapNotify) {
                    m_sichtbar.remove(e.xunmap.window);
                } else if (e.type == PropertyNotify && m_sichtbar.contains(e.xproperty.window)) {
                    w = e.xproperty.window;
                }
                if (w && passt(titel(w))) return w;
            }
            const int rest = ms - int(uhr.elapsed());
            if (rest <= 0) return 0;
            pollfd p{ConnectionNumber(m_d), POLLIN, 0};
            poll(&p, 1, qMin(rest, 50));
        }
    }

    // Enter in the login window: focus, then the key. Qt takes sent key
    // events; XTest (loaded at run time when present) is the fallback.
    void enter(Window w, bool ueberXTest) {
        XSetInputFocus(m_d, w, RevertToParent, CurrentTime);
        const KeyCode code = XKeysymToKeycode(m_d, XK_Return);
        if (ueberXTest) {
            if (void* lib = dlopen("libXtst.so.6", RTLD_NOW)) {
                using Fake = int (*)(Display*, unsigned int, int, unsigned long);
                if (auto f = reinterpret_cast<Fake>(dlsym(lib, "XTestFakeKeyEvent"))) {
                    f(m_d, code, True, 0);
                    f(m_d, code, False, 0);
                }
            }
        } else {
            XKeyEvent k{};
            k.display = m_d;
            k.window = w;
            k.root = m_root;
            k.subwindow = None;
            k.time = CurrentTime;
            k.same_screen = True;
            k.keycode = code;
            k.type = KeyPress;
            XSendEvent(m_d, w, True, KeyPressMask, reinterpret_cast<XEvent*>(&k));
            k.type = KeyRelease;
            XSendEvent(m_d, w, True, KeyReleaseMask, reinterpret_cast<XEvent*>(&k));
        }
        XFlush(m_d);
    }

private:
    QString titel(Window w) {
        Atom typ;
        int format;
        unsigned long n, rest;
        unsigned char* daten = nullptr;
        QString t;
        if (XGetWindowProperty(m_d, w, m_netName, 0, 1024, False, m_utf8, &typ, &format, &n, &rest, &daten) == Success && daten) {
            t = QString::fromUtf8(reinterpret_cast<const char*>(daten), qsizetype(n));
            XFree(daten);
        }
        if (t.isEmpty()) {
            char* name = nullptr;
            if (XFetchName(m_d, w, &name) && name) {
                t = QString::fromLocal8Bit(name);
                XFree(name);
            }
        }
        return t;
    }
    Display* m_d = nullptr;
    Window m_root = 0;
    Atom m_netName = 0, m_utf8 = 0;
    QSet<Window> m_sichtbar;
};

#endif

}  // namespace

StartErgebnis messeStart(const QString& taluProgramm, const BenchZiel& ziel, int laeufe) {
    StartErgebnis e;
#ifndef TALU_BENCH_X11
    Q_UNUSED(taluProgramm);
    Q_UNUSED(ziel);
    Q_UNUSED(laeufe);
    e.fehler = QStringLiteral("ohne Xlib gebaut (libx11-dev)");
    return e;
#else
    if (!QFile::exists(taluProgramm)) {
        e.fehler = "Programm nicht gefunden: " + taluProgramm;
        return e;
    }
    // The program with its stored login in a directory of its own: it keeps
    // its files beside the executable.
    QTemporaryDir verzeichnis;
    const QString exe = verzeichnis.filePath("talu");
    if (!QFile::copy(taluProgramm, exe)) {
        e.fehler = "Programm nicht kopiert";
        return e;
    }
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QString fehler;
    if (!ZugangsDatei(verzeichnis.filePath("zugang.dat"))
             .schreibe(Anmeldedaten{ziel.serverFeld(), ziel.datenbankFeld(), ziel.benutzer, ziel.passwort}, &fehler)) {
        e.fehler = "zugang.dat nicht geschrieben: " + fehler;
        return e;
    }
    Anzeige x;
    if (!x.starte(e.fehler)) return e;
    bool xtest = false;
    Beobachter b(x.name);
    if (!b.ok()) {
        e.fehler = "Keine Verbindung zur Anzeige " + QString::fromLatin1(x.name);
        return e;
    }
    for (int lauf = 0; lauf < laeufe; ++lauf) {
        QElapsedTimer uhr;
        uhr.start();
        const pid_t pid = starte(exe.toLocal8Bit(), {},
                                 {"DISPLAY=" + x.name, "XDG_RUNTIME_DIR=" + verzeichnis.path().toLocal8Bit()},
                                 {"QT_QPA_PLATFORM"});
        // The program ends with its run, whichever way the run ends.
        struct Ende {
            pid_t pid;
            ~Ende() { beende(pid); }
        } ende{pid};
        if (pid < 0) {
            e.fehler = "Programm nicht gestartet";
            return e;
        }
        const Window login = b.warte([](const QString& t) { return t == kLoginTitel; }, 20000);
        if (!login) {
            e.fehler = "Das Anmeldefenster erschien nicht";
            return e;
        }
        e.startMs << uhr.nsecsElapsed() / 1e6;
        QThread::msleep(1000);
        e.rssAnmeldungMb << residentMb(pid);

        auto hauptfenster = [](const QString& t) { return t.startsWith(QLatin1String("WQN-TALU ")) && t != kLoginTitel; };
        b.enter(login, xtest);
        Window haupt = b.warte(hauptfenster, xtest ? 30000 : 3000);
        if (!haupt && !xtest) {
            xtest = true;
            b.enter(login, true);
            haupt = b.warte(hauptfenster, 30000);
        }
        if (haupt) {
            QThread::msleep(1500);
            e.rssNachAnmeldungMb << residentMb(pid);
        } else {
            e.fehler = "Nach der Anmeldung erschien kein Hauptfenster";
        }
    }
    return e;
#endif
}

namespace {

QList<Ergebnis> startFiguren(Kontext& k) {
    Ergebnis start, leer, angemeldet;
    start.kennung = "P8a";
    start.arbeit = "Start bis Anmeldefenster (talu, Xvfb)";
    start.ziel = "p50 < 0,3 s";
    leer.kennung = "P8b";
    leer.arbeit = "Speicher (RSS) mit Anmeldefenster, ruhend";
    leer.ziel = "< 80 MB";
    leer.einheit = "MB";
    angemeldet.kennung = "P8c";
    angemeldet.arbeit = "Speicher (RSS) nach der Anmeldung, Hauptfenster";
    angemeldet.ziel = "< 80 MB";
    angemeldet.einheit = "MB";
    if (k.knapp) {
        for (Ergebnis* x : {&start, &leer, &angemeldet}) x->anmerkung = QStringLiteral("im Kurzlauf nicht gemessen");
        return {start, leer, angemeldet};
    }
    const StartErgebnis s = messeStart(k.taluProgramm, k.ziel, 7);
    auto fuelle = [&](Ergebnis& x, const QList<double>& werte, double grenze) {
        x.wiederholungen = int(werte.size());
        x.p50 = median(werte);
        x.p95 = perzentil(werte, 95);
        if (!werte.isEmpty()) x.stand = x.p50 < grenze ? Ergebnis::Stand::Erfuellt : Ergebnis::Stand::Verfehlt;
        // Memory: every run counts, not only the middle one.
        if (x.einheit == "MB" && !werte.isEmpty() && *std::max_element(werte.begin(), werte.end()) >= grenze)
            x.stand = Ergebnis::Stand::Verfehlt;
        if (werte.isEmpty() || !s.fehler.isEmpty()) x.anmerkung = s.fehler.isEmpty() ? "nicht gemessen" : s.fehler;
    };
    fuelle(start, s.startMs, 300);
    fuelle(leer, s.rssAnmeldungMb, 80);
    fuelle(angemeldet, s.rssNachAnmeldungMb, 80);
    return {start, leer, angemeldet};
}

QList<Messung> start() {
    Messung m;
    m.kennung = "P8";
    m.arbeit = "Start und Speicher";
    m.eigen = startFiguren;
    return {m};
}

const bool registriert = registriereMessungen(80, start);

}  // namespace

}  // namespace talu::bench
