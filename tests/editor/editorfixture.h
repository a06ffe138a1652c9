#pragma once

#include "framework/editfield.h"
#include "framework/filedialogs.h"
#include "framework/listbox.h"
#include "framework/listboxmodel.h"
#include "framework/menuitem.h"
#include "framework/messagelog.h"
#include "framework/pushbutton.h"
#include "shell/mainwindow.h"
#include "support/testsupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace sildra::test {

// A document with one child of every kind of row: text with blanks, attributes, empty, nested, comment, loose text.
inline const QByteArray kGameXml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                   "<Game>\n"
                                   "  <Title>  Sildra Quest  </Title>\n"
                                   "  <Weapon id=\"7\" name=\" Blade \" note=\"\">\n"
                                   "    <Damage>12</Damage>\n"
                                   "    <Range kind=\"melee\">3</Range>\n"
                                   "    <Gem cut=\"oval\" shine=\"\"/>\n"
                                   "  </Weapon>\n"
                                   "  <Empty/>\n"
                                   "  <Wrapper><Inner level=\"2\"><Core>deep</Core></Inner></Wrapper>\n"
                                   "  <Commented><!-- only a comment --></Commented>\n"
                                   "  <Mixed>a<!--c-->b</Mixed>\n"
                                   "  <!-- top comment -->\n"
                                   "  Loose text\n"
                                   "</Game>\n";

// A fresh main window shown offscreen; file dialogs and message boxes are answered by the framework's seams.
class EditorTest : public ::testing::Test {
protected:
    EditorTest()
    {
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QString fixture(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        writeFile(path, bytes);
        return path;
    }

    // Triggers the menu command at path, e.g. {"File", "Open", "XML"}, as a click on it would.
    void choose(const QStringList& path)
    {
        QList<QAction*> actions = window->QtMenuBar()->actions();
        for (qsizetype level = 0; level < path.size(); ++level) {
            QAction* found = nullptr;
            for (QAction* action : actions)
                if (action->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&')) == path[level])
                    found = action;
            ASSERT_NE(found, nullptr) << path[level].toStdString();
            if (level + 1 == path.size()) {
                ASSERT_TRUE(found->isEnabled());
                found->trigger();
            } else {
                ASSERT_NE(found->menu(), nullptr);
                Q_EMIT found->menu()->aboutToShow();
                actions = found->menu()->actions();
            }
        }
    }

    void open(const QString& path)
    {
        dialogs.Answer(path);
        choose({ QStringLiteral("File"), QStringLiteral("Open"), QStringLiteral("XML") });
        QCoreApplication::processEvents();
    }

    void saveAs(const QString& path)
    {
        dialogs.Answer(path);
        choose({ QStringLiteral("File"), QStringLiteral("Save"), QStringLiteral("XML") });
    }

    // Hands a node command to the dispatcher as the buttons do.
    bool dispatch(const QString& text)
    {
        fw::MenuItem item(text);
        return window->XMLList_ContextualMenuAction(item);
    }

    fw::Listbox& list() const { return window->XMLList(); }

    QStringList row(int r) const { return { list().Cell(r, 0), list().Cell(r, 1), list().Cell(r, 2) }; }

    QStringList names() const
    {
        QStringList result;
        for (int r = 0; r < list().ListCount(); ++r)
            result << list().Cell(r, 0);
        return result;
    }

    // Selects a row with a click on it, as the user does.
    void click(int r)
    {
        list().Model().Flush();
        const QRect rect = list().visualRect(list().model()->index(r, 0));
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, rect.center());
    }

    void doubleClick(int r)
    {
        list().Model().Flush();
        const QRect rect = list().visualRect(list().model()->index(r, 0));
        QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list().viewport(), Qt::LeftButton, {}, rect.center());
    }

    // The items the contextual menu would offer for the selected row; empty when it would show none.
    QStringList menu() const
    {
        fw::MenuItem base;
        if (!window->XMLList_ConstructContextualMenu(base, 0, 0))
            return {};
        QStringList texts;
        for (int i = 0; i < base.Count(); ++i)
            texts << base.Item(i)->Text();
        return texts;
    }

    // "E", "R", "I", "O" for each node button enabled, "-" for each disabled.
    QString buttons() const
    {
        return QString(window->EditButton().Enabled() ? 'E' : '-') + (window->RenameButton().Enabled() ? 'R' : '-')
            + (window->InButton().Enabled() ? 'I' : '-') + (window->OutButton().Enabled() ? 'O' : '-');
    }

    int errorBoxes() const
    {
        int count = 0;
        for (const auto& entry : messages.Entries())
            count += entry.title == QLatin1String("Error") && entry.icon == 16;
        return count;
    }

    QString path() const { return window->StatusNest().Text(); }

    fw::MessageLog messages;
    fw::FileDialogs dialogs;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window = fw::Window::Create<MainWindow>();
};

} // namespace sildra::test
