#include "framework/shell.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using sildra::test::readFile;
using sildra::test::writeFile;

// Writes an executable shell script.
QString WriteScript(const QString& path, const QByteArray& body)
{
    return sildra::test::writeExecutable(path, "#!/bin/sh\n" + body);
}

TEST(Shell, HandsEveryArgumentOverExactlyAndReportsTheExitStatus)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/it's a \"folder\" $(touch pwned)");
    const QString script = WriteScript(folder + QStringLiteral("/record args.sh"),
        "printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/arguments.txt\"\nexit 3\n");
    const QStringList arguments { QStringLiteral("-create"), QStringLiteral("a b"), QStringLiteral("\"quoted\""),
        QStringLiteral("it's"), QStringLiteral("$HOME `id` ; | & *"), QStringLiteral("back\\slash") };

    fw::Shell shell;
    shell.Execute(script, arguments);

    EXPECT_EQ(shell.ErrorCode(), 3);
    EXPECT_EQ(QString::fromUtf8(readFile(folder + QStringLiteral("/arguments.txt"))),
        arguments.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    EXPECT_FALSE(QFile::exists(QStringLiteral("pwned")));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/pwned")));

    shell.Execute(WriteScript(folder + QStringLiteral("/ok.sh"), "exit 0\n"), {});
    EXPECT_EQ(shell.ErrorCode(), 0);
}

TEST(Shell, CountsAFailureToStartACrashAndAStopAsNonZero)
{
    QTemporaryDir dir;
    fw::Shell shell;

    shell.Execute(dir.path() + QStringLiteral("/missing"), {});
    EXPECT_NE(shell.ErrorCode(), 0);

    writeFile(dir.path() + QStringLiteral("/not executable"), "#!/bin/sh\nexit 0\n");
    shell.Execute(dir.path() + QStringLiteral("/not executable"), {});
    EXPECT_NE(shell.ErrorCode(), 0);

    shell.Execute(WriteScript(dir.path() + QStringLiteral("/crash.sh"), "kill -KILL $$\n"), {});
    EXPECT_NE(shell.ErrorCode(), 0);

    // "exec" makes the killed process the sleeper itself, so nothing outlives the test.
    QString label;
    sildra::test::stopProgramWhenShown(&label);
    shell.Execute(WriteScript(dir.path() + QStringLiteral("/Long Runner.sh"), "exec sleep 600\n"), {});
    EXPECT_NE(shell.ErrorCode(), 0);
    EXPECT_TRUE(label.contains(QStringLiteral("Long Runner.sh"))) << label.toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(Shell, StandInReplacesTheRunAndTheCommandLineQuotesEachPath)
{
    QString program;
    QStringList arguments;
    fw::Shell::StandIn standIn([&](const QString& p, const QStringList& a) {
        program = p;
        arguments = a;
        return 7;
    });

    const QStringList given { QStringLiteral("-extract:xml"), QStringLiteral("/tmp/out dir"),
        QStringLiteral("/tmp/it's.qev") };
    fw::Shell shell;
    shell.Execute(QStringLiteral("/opt/my tools/QevSplit.exe"), given);

    EXPECT_EQ(shell.ErrorCode(), 7);
    EXPECT_EQ(program, QStringLiteral("/opt/my tools/QevSplit.exe"));
    EXPECT_EQ(arguments, given);
    EXPECT_EQ(shell.CommandLine(),
        QStringLiteral("/opt/my\\ tools/QevSplit.exe -extract:xml \"/tmp/out\\ dir\" \"/tmp/it\\'s.qev\""));
}

} // namespace
