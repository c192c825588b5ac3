#include "support/XServer.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

namespace {

void Stop(std::unique_ptr<QProcess>& process) {
    if (!process)
        return;
    if (process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(5000)) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
    process.reset();
}

} // namespace

XServer::~XServer() {
    Stop(openbox_);
    Stop(xvfb_);
}

std::optional<QString> XServer::Run(const QString& program, const QStringList& arguments) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

bool XServer::Start() {
    for (const char* tool : {"Xvfb", "openbox", "xprop", "xdotool"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            reason_ = QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
            return false;
        }
    }
    // Xvfb picks a free display itself and writes its number to the descriptor given.
    xvfb_ = std::make_unique<QProcess>();
    xvfb_->start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                  QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                  QStringLiteral("tcp")});
    QByteArray number;
    const QDeadlineTimer deadline(15000);
    while (!number.contains('\n') && !deadline.hasExpired() &&
           xvfb_->state() != QProcess::NotRunning) {
        xvfb_->waitForReadyRead(200);
        number += xvfb_->readAllStandardOutput();
    }
    if (!number.contains('\n')) {
        reason_ = QStringLiteral("Xvfb did not start: %1")
                      .arg(QString::fromLocal8Bit(xvfb_->readAllStandardError()).trimmed());
        Stop(xvfb_);
        return false;
    }
    display_ = QLatin1Char(':') + QString::fromLatin1(number.trimmed());

    openbox_ = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    openbox_->setProcessEnvironment(environment);
    openbox_->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    // The window manager is there once it has marked the root window as managed.
    while (!deadline.hasExpired() && openbox_->state() != QProcess::NotRunning) {
        const std::optional<QString> check =
            Run(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        if (check && check->contains(QStringLiteral("window id")))
            return true;
        QThread::msleep(100);
    }
    reason_ = QStringLiteral("openbox did not start");
    Stop(openbox_);
    Stop(xvfb_);
    return false;
}

QList<quint64> XServer::Stacking() const {
    const QString text = Run(QStringLiteral("xprop"),
                             {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")})
                             .value_or(QString());
    QList<quint64> windows;
    static const QRegularExpression id(QStringLiteral("0x[0-9a-fA-F]+"));
    for (const QRegularExpressionMatch& match : id.globalMatch(text))
        windows.append(match.captured().mid(2).toULongLong(nullptr, 16));
    return windows;
}

bool XServer::Click(QPoint global) const {
    return Run(QStringLiteral("xdotool"),
               // Not "--sync": it waits for ever when the pointer is already there.
               {QStringLiteral("mousemove"), QString::number(global.x()),
                QString::number(global.y()), QStringLiteral("click"), QStringLiteral("1")})
        .has_value();
}
