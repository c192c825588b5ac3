#include "support/TestFirebirdServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>

#include <csignal>
#include <sys/prctl.h>

namespace {

// Where Debian keeps the server, its files and its log (the build may say otherwise).
#ifndef TINTORA_FIREBIRD_SERVER
#define TINTORA_FIREBIRD_SERVER "/usr/sbin/firebird"
#endif
#ifndef TINTORA_FIREBIRD_ROOT
#define TINTORA_FIREBIRD_ROOT "/usr/lib/x86_64-linux-gnu/firebird/3.0"
#endif
#ifndef TINTORA_FIREBIRD_LOG
#define TINTORA_FIREBIRD_LOG "/var/log/firebird/firebird3.0.log"
#endif

int FreePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

bool WriteText(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

QString Quoted(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace

TestFirebirdServer::TestFirebirdServer(QList<Account> accounts) : accounts_(std::move(accounts)) {
    server_.setProcessChannelMode(QProcess::MergedChannels);
}

TestFirebirdServer::~TestFirebirdServer() {
    Stop();
}

QString TestFirebirdServer::DataFolder() const {
    return root_.filePath(QStringLiteral("data"));
}

QString TestFirebirdServer::DataFile(const QString& name) const {
    return QDir(DataFolder()).filePath(name);
}

QString TestFirebirdServer::DatabaseName(const QString& path) const {
    return QStringLiteral("127.0.0.1/%1:%2").arg(port_).arg(path);
}

bool TestFirebirdServer::Running() const {
    return server_.state() != QProcess::NotRunning;
}

// The server reads its configuration, messages and plugin list from the folder that
// FIREBIRD names: a folder of our own with links to the installed files beside our
// firebird.conf. Locks and temporary files go into folders of our own as well.
QProcessEnvironment TestFirebirdServer::Environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FIREBIRD"), root_.filePath(QStringLiteral("root")));
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), root_.filePath(QStringLiteral("lock")));
    environment.insert(QStringLiteral("FIREBIRD_TMP"), root_.filePath(QStringLiteral("tmp")));
    environment.remove(QStringLiteral("ISC_USER"));
    environment.remove(QStringLiteral("ISC_PASSWORD"));
    return environment;
}

QString TestFirebirdServer::WriteConfiguration() {
    const QDir root(root_.filePath(QStringLiteral("root")));
    for (const char* folder : {"root", "lock", "tmp", "data"}) {
        if (!QDir().mkpath(root_.filePath(QString::fromLatin1(folder))))
            return QStringLiteral("cannot make the folder %1").arg(QString::fromLatin1(folder));
    }
    const QDir installed(QStringLiteral(TINTORA_FIREBIRD_ROOT));
    if (!installed.exists(QStringLiteral("firebird.msg")))
        return QStringLiteral("no Firebird installation in %1").arg(installed.path());
    for (const QFileInfo& entry :
         installed.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
        const QString name = entry.fileName();
        const QString target = root.filePath(name);
        if (name == QLatin1String("firebird.conf") || name == QLatin1String("databases.conf") ||
            QFileInfo(target).exists())
            continue;
        // The character sets' module offers none of them when loaded through a link:
        // it is copied.
        if (name == QLatin1String("intl")) {
            if (!QDir().mkpath(target))
                return QStringLiteral("cannot make %1").arg(target);
            for (const QFileInfo& file :
                 QDir(entry.absoluteFilePath()).entryInfoList(QDir::Files)) {
                if (!QFile::copy(file.absoluteFilePath(), QDir(target).filePath(file.fileName())))
                    return QStringLiteral("cannot copy %1").arg(file.absoluteFilePath());
            }
            continue;
        }
        if (!QFile::link(entry.absoluteFilePath(), target))
            return QStringLiteral("cannot link %1").arg(entry.absoluteFilePath());
    }
    const QString configuration =
        QStringLiteral("RemoteServicePort = %1\n"
                       "RemoteBindAddress = 127.0.0.1\n"
                       "ServerMode = Super\n"
                       "SecurityDatabase = %2\n"
                       "DatabaseAccess = Restrict %3\n"
                       "UdfAccess = None\n")
            .arg(port_)
            .arg(root_.filePath(QStringLiteral("security3.fdb")), DataFolder());
    if (!WriteText(root.filePath(QStringLiteral("firebird.conf")), configuration) ||
        !WriteText(root.filePath(QStringLiteral("databases.conf")), QString()))
        return QStringLiteral("cannot write the configuration");
    return QString();
}

// The accounts go into a security database of our own, written by the embedded
// engine before the server starts.
QString TestFirebirdServer::MakeSecurityDatabase() {
    const QString security = root_.filePath(QStringLiteral("security3.fdb"));
    if (QFile::exists(security))
        return QString();
    QString sql = QStringLiteral("CREATE DATABASE %1 USER 'SYSDBA';\n").arg(Quoted(security));
    for (const Account& account : accounts_)
        sql += QStringLiteral("CREATE USER %1 PASSWORD %2 USING PLUGIN Srp;\n")
                   .arg(account.user, Quoted(account.password));
    sql += QStringLiteral("COMMIT;\n");
    const QString script = root_.filePath(QStringLiteral("security.sql"));
    if (!WriteText(script, sql))
        return QStringLiteral("cannot write %1").arg(script);
    QProcess isql;
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.setProcessEnvironment(Environment());
    isql.start(QStringLiteral("isql-fb"),
               {QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-i"), script});
    if (!isql.waitForStarted())
        return QStringLiteral("isql-fb cannot start");
    isql.waitForFinished(-1);
    const QString output = QString::fromLocal8Bit(isql.readAll()).trimmed();
    if (isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0 || !output.isEmpty())
        return QStringLiteral("the security database was not made: %1").arg(output);
    return QString();
}

QString TestFirebirdServer::Start() {
    // A port found free may be taken by another program before the server binds it:
    // a server that ends at once is tried again on another port.
    QString failure;
    for (int attempt = 0; attempt < 3; ++attempt) {
        bool endedEarly = false;
        failure = StartOnce(endedEarly);
        if (failure.isEmpty() || !endedEarly)
            return failure;
    }
    return failure;
}

QString TestFirebirdServer::StartOnce(bool& endedEarly) {
    if (!root_.isValid())
        return QStringLiteral("no temporary folder");
    port_ = FreePort();
    if (port_ == 0)
        return QStringLiteral("no free port on 127.0.0.1");
    QString problem = WriteConfiguration();
    if (problem.isEmpty())
        problem = MakeSecurityDatabase();
    if (!problem.isEmpty())
        return problem;

    const QFileInfo systemLog(QStringLiteral(TINTORA_FIREBIRD_LOG));
    systemLogStart_ = systemLog.exists() ? systemLog.size() : 0;
    output_.clear();
    server_.setProcessEnvironment(Environment());
    // The server never outlives the test, whatever ends it.
    server_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    server_.start(QStringLiteral(TINTORA_FIREBIRD_SERVER), {});
    if (!server_.waitForStarted(30000))
        return Failure(QStringLiteral("the server %1 did not start (%2)")
                           .arg(QStringLiteral(TINTORA_FIREBIRD_SERVER), server_.errorString()));

    // Up when it takes a connection on its port; a server that ends meanwhile failed.
    const QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        if (server_.state() == QProcess::NotRunning) {
            endedEarly = true;
            return Failure(QStringLiteral("the server ended with code %1 before it took "
                                          "connections on port %2")
                               .arg(server_.exitCode())
                               .arg(port_));
        }
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, quint16(port_));
        if (socket.waitForConnected(500))
            return QString();
        server_.waitForFinished(100);
    }
    const QString failure =
        Failure(QStringLiteral("the server took no connection on port %1 in 60 s").arg(port_));
    Stop();
    return failure;
}

void TestFirebirdServer::Stop() {
    if (server_.state() == QProcess::NotRunning)
        return;
    // As the system stops its own server: a term signal, and a kill when the server
    // has not ended after a while (its listener may sleep on in a long poll).
    server_.terminate();
    if (!server_.waitForFinished(10000)) {
        server_.kill();
        server_.waitForFinished(10000);
    }
    output_ += server_.readAll();
}

QString TestFirebirdServer::Log() {
    output_ += server_.readAll();
    QString log = QStringLiteral("--- server output ---\n") + QString::fromLocal8Bit(output_);
    QFile systemLog(QStringLiteral(TINTORA_FIREBIRD_LOG));
    if (systemLog.open(QIODevice::ReadOnly) && systemLog.seek(systemLogStart_))
        log += QStringLiteral("--- %1 ---\n").arg(systemLog.fileName()) +
               QString::fromLocal8Bit(systemLog.readAll());
    else
        log += QStringLiteral("--- %1 cannot be read ---\n").arg(systemLog.fileName());
    const QString configuration =
        QDir(root_.filePath(QStringLiteral("root"))).filePath(QStringLiteral("firebird.conf"));
    QFile conf(configuration);
    if (conf.open(QIODevice::ReadOnly))
        log += QStringLiteral("--- firebird.conf ---\n") + QString::fromUtf8(conf.readAll());
    return log;
}

QString TestFirebirdServer::Failure(const QString& what) {
    return what + QLatin1Char('\n') + Log();
}
