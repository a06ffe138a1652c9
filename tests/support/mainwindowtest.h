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
#include "xml/xmldocument.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
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

// Queues act for the modal window that the code run next opens; fails when none opens or act leaves it open
// (and then closes it, so that a faulty dialog cannot hang the test).
inline void WhenModal(std::function<void(fw::Window&)> act)
{
    QTimer::singleShot(0, qApp, [act = std::move(act)] {
        QPointer<fw::Window> modal = qobject_cast<fw::Window*>(QApplication::activeModalWidget());
        if (!modal) {
            ADD_FAILURE() << "no modal window is open";
            return;
        }
        act(*modal);
        if (modal && modal->isVisible()) {
            ADD_FAILURE() << "the modal window " << modal->windowTitle().toStdString() << " is still open";
            modal->close();
        }
    });
}

// Replaces the field's text the way a user does: select all, then type.
inline void Type(fw::EditField& field, const QString& text)
{
    QTest::keyClick(field.LineEdit(), Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(field.LineEdit(), Qt::Key_Backspace);
    else
        QTest::keyClicks(field.LineEdit(), text);
}

inline void Click(fw::Window& window, const QString& name)
{
    QTest::mouseClick(&window.Control(name).Widget(), Qt::LeftButton);
}

// Clicks a row of a list box (twice more for a double click), or below the last row for -1.
inline void ClickRow(fw::Listbox& list, int row, bool twice = false)
{
    list.Model().flush();
    QPoint at(5, list.viewport()->height() - 2);
    if (row >= 0)
        at = list.visualRect(list.model()->index(row, 0)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

// A fresh main window shown offscreen; file dialogs and message boxes are answered by the framework's seams, files
// live in a temporary folder.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
    {
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QString Path(const QString& name) const { return dir.filePath(name); }
    QString File(const QString& name, const QByteArray& bytes)
    {
        writeFile(Path(name), bytes);
        return Path(name);
    }

    // Triggers the menu command at path, e.g. {"File", "Open", "XML"}, as a click on it would.
    void Choose(const QStringList& path)
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

    void OpenFile(const QString& path)
    {
        dialogs.Answer(path);
        Choose({ QStringLiteral("File"), QStringLiteral("Open"), QStringLiteral("XML") });
        QCoreApplication::processEvents();
    }
    void Open(const QByteArray& xml) { OpenFile(File(QStringLiteral("in.xml"), xml)); }
    void SaveAs(const QString& path)
    {
        dialogs.Answer(path);
        Choose({ QStringLiteral("File"), QStringLiteral("Save"), QStringLiteral("XML") });
    }
    // Saves through File > Save > XML and opens the saved file again.
    void SaveAndReopen()
    {
        SaveAs(Path(QStringLiteral("out.xml")));
        OpenFile(Path(QStringLiteral("out.xml")));
    }

    // Hands a node command to the dispatcher as the buttons and the contextual menu do.
    bool Run(const QString& command)
    {
        fw::MenuItem item(command);
        return window->XMLList_ContextualMenuAction(item);
    }
    // Selects the row, then runs the command on it.
    bool RunOn(int row, const QString& command)
    {
        List().SetListIndex(row);
        return Run(command);
    }

    fw::Listbox& List() const { return window->XMLList(); }
    QStringList Row(int r) const { return { List().Cell(r, 0), List().Cell(r, 1), List().Cell(r, 2) }; }
    QList<QStringList> Rows() const
    {
        QList<QStringList> rows;
        for (int r = 0; r < List().ListCount(); ++r)
            rows << Row(r);
        return rows;
    }
    QStringList Names() const
    {
        QStringList names;
        for (int r = 0; r < List().ListCount(); ++r)
            names << List().Cell(r, 0);
        return names;
    }
    xml::XmlNode Selected() const { return window->CurrentNode.Child(List().ListIndex()); }
    QByteArray Bytes() const { return window->XMLRead->ToBytes(); }
    QString NestPath() const { return window->StatusNest().Text(); }

    // "E", "R", "I", "O" for each node button enabled, "-" for each disabled.
    QString Buttons() const
    {
        return QString(window->EditButton().Enabled() ? 'E' : '-') + (window->RenameButton().Enabled() ? 'R' : '-')
            + (window->InButton().Enabled() ? 'I' : '-') + (window->OutButton().Enabled() ? 'O' : '-');
    }

    QStringList Texts() const
    {
        QStringList texts;
        for (const auto& entry : messages.Entries())
            texts << entry.text;
        return texts;
    }
    int ErrorBoxes() const
    {
        int count = 0;
        for (const auto& entry : messages.Entries())
            count += entry.title == QLatin1String("Error") && entry.icon == 16;
        return count;
    }

    fw::MessageLog messages;
    fw::FileDialogs dialogs;
    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window = fw::Window::Create<MainWindow>();
};

} // namespace sildra::test
