#include "shell/patternfiletab.h"

#include "framework/editfield.h"
#include "framework/listbox.h"
#include "framework/msgbox.h"
#include "framework/pushbutton.h"
#include "framework/strings.h"
#include "shell/mainwindow.h"

#include <QStringList>

namespace shell {

PatternFileTab::PatternFileTab(MainWindow& window)
    : m_window(window)
{
}

void PatternFileTab::PatternsBox_Change()
{
    if (m_window.PatternsBox().ListIndex() == -1) {
        m_window.SelectPattern().SetEnabled(false);
        m_window.PatternEdit().SetText(QString());
    } else {
        m_window.SelectPattern().SetEnabled(true);
        m_window.PatternEdit().SetText(m_window.PatternsBox().Cell(m_window.PatternsBox().ListIndex(), 2));
    }
}

void PatternFileTab::PushButton1_Action()
{
    fw::MsgBox(QStringList {
        QStringLiteral("\"QEV Pattern Files\" are files that define what is the type of each 'field' in an QEV "
                       "file. A type is like a kind of value, such as:"),
        QStringLiteral("- A pure text;"),
        QStringLiteral("- An integer number (examples: ..., -3, -2, -1, 0, 1, 2, 3, ...);"),
        QStringLiteral("- A floating value (examples: ..., -0.2, -0.01, 0, 0.01, 0.2, ...);"),
        QStringLiteral("- A boolean value (true or false).") }
                   .join(fw::EndOfLine()));
    fw::MsgBox(QStringList {
        QStringLiteral("These files are mostly supplied by the community, but you can make your own if you like. "
                       "Values are inputed like below:"),
        QString(), QStringLiteral("name=valuetype"), QString(),
        QStringLiteral("...where \"name\" is the caption of the XML Node and \"valuetype\" is the accepted type of "
                       "that node.") }
                   .join(fw::EndOfLine()));
    fw::MsgBox(QStringList {
        QStringLiteral("\"Name\" may be any string not containing an equal sign (=). \"Valuetype\" must be one of "
                       "the following:"),
        QStringLiteral("- \"int\" (integer);"), QStringLiteral("- \"str\" (string, text);"),
        QStringLiteral("- \"flt\" (floating point value/decimal);"),
        QStringLiteral("- \"bool\" (boolean value/true or false);"),
        QStringLiteral("- A list like this: \"(value1,value2,value3)\" (ComboBox).") }
                   .join(fw::EndOfLine()));
    fw::MsgBox(QStringLiteral("These files are stored in the same folder as this program, with extension "
                              "\".qevpat\". The QEV Pattern Files are case-sensitive."));
}

} // namespace shell
