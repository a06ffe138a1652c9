#include "framework/shell.h"

#include "framework/folderitem.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

namespace fw {

namespace {

    Shell::StandIn* g_newestStandIn = nullptr;

    // A run shorter than this shows no box.
    constexpr int kShowProgressAfterMs = 500;

    QString CommandLineText(const QString& program, const QStringList& arguments)
    {
        QString line = FolderItem(program).ShellPath();
        for (const QString& argument : arguments) {
            line += QLatin1Char(' ');
            if (argument.startsWith(QLatin1Char('-')))
                line += argument;
            else
                line += QLatin1Char('"') + FolderItem(argument).ShellPath() + QLatin1Char('"');
        }
        return line;
    }

} // namespace

Shell::StandIn::StandIn(Run run)
    : m_run(std::move(run))
    , m_previous(g_newestStandIn)
{
    g_newestStandIn = this;
}

Shell::StandIn::~StandIn() { g_newestStandIn = m_previous; }

void Shell::Execute(const QString& program, const QStringList& arguments)
{
    m_commandLine = CommandLineText(program, arguments);
    if (g_newestStandIn) {
        m_errorCode = g_newestStandIn->m_run(program, arguments);
        return;
    }

    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    // Nothing reads the program's output, so it must not fill a pipe and block the program.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());

    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    process.start();

    // The windows repaint from the start; user input waits, so no other action can start meanwhile.
    if (process.state() != QProcess::NotRunning) {
        QTimer::singleShot(kShowProgressAfterMs, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }

    bool stopped = false;
    if (process.state() != QProcess::NotRunning) {
        // A run that lasts gets a modal box, so that the user sees what the window waits for and can end it.
        const QString name = QFileInfo(program).fileName();
        QProgressDialog progress(QApplication::activeWindow());
        progress.setObjectName(QStringLiteral("ShellProgress"));
        progress.setWindowTitle(name);
        progress.setLabelText(QStringLiteral("Running %1...").arg(name));
        progress.setRange(0, 0);
        auto* stop = new QPushButton(QStringLiteral("Stop"));
        stop->setObjectName(QStringLiteral("StopButton"));
        progress.setCancelButton(stop);
        progress.setWindowModality(Qt::ApplicationModal);
        QObject::connect(&progress, &QProgressDialog::canceled, &process, [&process, &stopped] {
            stopped = true;
            process.kill();
        });
        progress.show();
        loop.exec();
    }

    const bool ranToItsEnd = !stopped && process.error() != QProcess::FailedToStart
        && process.state() == QProcess::NotRunning && process.exitStatus() == QProcess::NormalExit;
    m_errorCode = ranToItsEnd ? process.exitCode() : -1;
}

} // namespace fw
