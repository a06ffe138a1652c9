#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace sildra::test {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return {};
    }
    return file.readAll();
}

QString writeExecutable(const QString& path, const QByteArray& bytes)
{
    writeFile(path, bytes);
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    return path;
}

void stopProgramWhenShown(QString* label)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, label] {
        auto* box = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (label)
            *label = box->labelText();
        box->findChild<QPushButton*>(QStringLiteral("StopButton"))->click();
        poll->deleteLater();
    });
    poll->start(20);
}

} // namespace sildra::test

void PrintTo(const QByteArray& bytes, std::ostream* os) { *os << testing::PrintToString(bytes.toStdString()); }

void PrintTo(const QString& text, std::ostream* os) { *os << testing::PrintToString(text.toStdString()); }
