#pragma once
// A PostgreSQL server of the test's own, for tests that must stop, restart or
// reconfigure a server (the shared test server is never touched): its data
// directory in a temporary folder, a free port of its own, the socket in the
// same folder. initdb and the server refuse to run as root; a root test runs
// them as user postgres.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace talu::test {

class EigenerPgServer {
public:
    EigenerPgServer() {
        const QStringList bins = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& v : bins)
            if (QFile::exists(QStringLiteral("/usr/lib/postgresql/%1/bin/initdb").arg(v)))
                m_bin = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(v);
        m_port = freierPort();
        m_alsRoot = geteuid() == 0;
        if (m_alsRoot) befehl(QStringLiteral("chown"), {QStringLiteral("postgres"), m_dir.path()});
    }
    ~EigenerPgServer() {
        if (m_laeuft) stoppe(QStringLiteral("immediate"));
    }
    EigenerPgServer(const EigenerPgServer&) = delete;
    EigenerPgServer& operator=(const EigenerPgServer&) = delete;

    bool vorhanden() const { return !m_bin.isEmpty() && m_dir.isValid() && m_port > 0; }
    int port() const { return m_port; }
    QString daten() const { return m_dir.filePath(QStringLiteral("daten")); }
    QString datei(const QString& name) const { return m_dir.filePath(name); }
    const QString& fehler() const { return m_fehler; }

    // initdb (trust for everyone) and the lines of pg_hba.conf for TCP.
    bool legeAn(const QStringList& hbaZeilen = {QStringLiteral("host all all 127.0.0.1/32 trust")}) {
        if (!alsPostgres(m_bin + "initdb", {"-D", daten(), "-A", "trust", "-U", "postgres", "-E", "UTF8",
                                            "--locale=C.UTF-8", "--no-sync"}))
            return false;
        QFile hba(daten() + "/pg_hba.conf");
        if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate)) return scheitert(QStringLiteral("pg_hba.conf"));
        hba.write("local all all trust\n");
        for (const QString& z : hbaZeilen) hba.write(z.toUtf8() + "\n");
        return true;
    }

    // Settings in postgresql.conf: unlike "-c" on the command line, ALTER SYSTEM
    // and a reload can change them later.
    bool stelleEin(const QStringList& zeilen) {
        QFile conf(daten() + "/postgresql.conf");
        if (!conf.open(QIODevice::Append)) return scheitert(QStringLiteral("postgresql.conf"));
        for (const QString& z : zeilen) conf.write(z.toUtf8() + "\n");
        return true;
    }

    // A self-signed certificate for CN=localhost in the data directory,
    // server.crt and server.key, as the server wants them.
    bool zertifikat() {
        return alsPostgres(QStringLiteral("openssl"),
                           {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=localhost",
                            "-keyout", daten() + "/server.key", "-out", daten() + "/server.crt"});
    }
    QString zertifikatDatei() const { return daten() + "/server.crt"; }

    bool starte(const QStringList& einstellungen = {}) {
        QString o = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off -c full_page_writes=off")
                        .arg(m_port)
                        .arg(m_dir.path());
        for (const QString& e : einstellungen) o += " -c " + e;
        m_laeuft = alsPostgres(m_bin + "pg_ctl", {"-D", daten(), "-w", "-t", "60", "-l", datei("log"), "-o", o, "start"});
        return m_laeuft;
    }
    // "immediate": the server goes away as in a crash; "fast": it ends its sessions first.
    bool stoppe(const QString& modus = QStringLiteral("immediate")) {
        const bool ok = alsPostgres(m_bin + "pg_ctl", {"-D", daten(), "-w", "-m", modus, "stop"});
        if (ok) m_laeuft = false;
        return ok;
    }
    // Whether the server runs (pg_ctl status), whoever started or stopped it.
    bool laeuft() { return alsPostgres(m_bin + "pg_ctl", {"-D", daten(), "status"}); }
    QString programm(const QString& name) const { return m_bin + name; }
    QString protokoll() const {
        QFile f(datei("log"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private:
    static int freierPort() {
        // The kernel hands out a free port; the server takes it a moment later.
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        if (s < 0) return 0;
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t l = sizeof a;
        int port = 0;
        if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
            ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &l) == 0)
            port = ntohs(a.sin_port);
        ::close(s);
        return port;
    }
    bool scheitert(const QString& was) {
        m_fehler = was;
        return false;
    }
    bool befehl(const QString& programm, const QStringList& argumente) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setWorkingDirectory(m_dir.path());
        p.start(programm, argumente);
        if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return scheitert(programm + " " + argumente.join(' ') + ":\n" + QString::fromLocal8Bit(p.readAll()));
        return true;
    }
    bool alsPostgres(const QString& programm, const QStringList& argumente) {
        if (!m_alsRoot) return befehl(programm, argumente);
        return befehl(QStringLiteral("runuser"), QStringList{"-u", "postgres", "--", programm} + argumente);
    }

    QTemporaryDir m_dir;
    QString m_bin, m_fehler;
    int m_port = 0;
    bool m_alsRoot = false;
    bool m_laeuft = false;
};

}  // namespace talu::test
