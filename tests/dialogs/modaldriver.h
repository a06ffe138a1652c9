#pragma once

#include "framework/editfield.h"
#include "framework/filedialogs.h"
#include "framework/listbox.h"
#include "framework/listboxmodel.h"
#include "framework/menuitem.h"
#include "framework/messagelog.h"
#include "framework/window.h"
#include "shell/mainwindow.h"
#include "support/testsupport.h"
#include "xml/xmldocument.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace sildra::test {

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

// Clicks a row of a list box, or below the last row for -1 (which leaves no row selected).
inline void ClickRow(fw::Listbox& list, int row)
{
    list.Model().Flush();
    QPoint at(5, list.viewport()->height() - 2);
    if (row >= 0)
        at = list.visualRect(list.model()->index(row, 0)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
}

// A fresh main window, shown, with a document opened from a file through File > "Open" > "XML". Message boxes are
// recorded, not shown.
class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_window = fw::Window::Create<MainWindow>();
        m_window->Show();
    }

    MainWindow& Window() { return *m_window; }
    const std::vector<fw::MessageLog::Entry>& Messages() const { return m_log.Entries(); }
    fw::Listbox& List() { return m_window->XMLList(); }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    void Open(const QByteArray& xml, const QString& name = QStringLiteral("in.xml"))
    {
        writeFile(Path(name), xml);
        OpenFile(name);
    }

    void OpenFile(const QString& name)
    {
        fw::FileDialogs dialogs;
        dialogs.Answer(Path(name));
        m_window->_OpenXML_Action();
    }

    // Saves through File > "Save" > "XML" and returns the file's bytes.
    QByteArray Save(const QString& name = QStringLiteral("out.xml"))
    {
        fw::FileDialogs dialogs;
        dialogs.Answer(Path(name));
        m_window->_SaveXML_Action();
        return readFile(Path(name));
    }

    void Run(const QString& command)
    {
        fw::MenuItem item(command);
        m_window->XMLList_ContextualMenuAction(item);
    }

    xml::XmlNode Selected() { return m_window->CurrentNode.Child(List().ListIndex()); }

    // Serialized document, for comparing before and after.
    QByteArray Bytes() { return m_window->XMLRead->ToBytes(); }

private:
    fw::MessageLog m_log;
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace sildra::test
