#include "editor/toplevelrows.h"

#include "framework/listbox.h"
#include "framework/strings.h"
#include "shell/mainwindow.h"
#include "xml/xmlattribute.h"
#include "xml/xmldocument.h"
#include "xml/xmlnode.h"

namespace editor {

namespace {

    // Every pair followed by ", ", the last one included.
    QString PairsEachFollowedBySeparator(const xml::XmlNode& node)
    {
        QString text;
        for (int j = 0; j <= node.AttributeCount() - 1; ++j) {
            const xml::XmlAttribute attribute = node.GetAttributeNode(j);
            text += attribute.Name() + QStringLiteral(" = ") + attribute.Value() + QStringLiteral(", ");
        }
        return text;
    }

    // Each pair preceded by ", ", then the text from its third character on: the pairs joined by ", ".
    QString PairsJoinedBySeparator(const xml::XmlNode& node)
    {
        QString text;
        for (int j = 0; j <= node.AttributeCount() - 1; ++j) {
            const xml::XmlAttribute attribute = node.GetAttributeNode(j);
            text += QStringLiteral(", ") + attribute.Name() + QStringLiteral(" = ") + attribute.Value();
        }
        return fw::Mid(text, 3);
    }

} // namespace

void FillTopLevelRows(MainWindow& window, AttributeColumn form)
{
    fw::Listbox& list = window.XMLList();
    list.DeleteAllRows();
    const xml::XmlNode top = window.XMLRead->DocumentElement();
    for (int i = 0; i <= top.ChildCount() - 1; ++i)
        AddNodeRow(list, top.Child(i), form);
}

void AddNodeRow(fw::Listbox& list, const xml::XmlNode& child, AttributeColumn form)
{
    list.AddRow(child.Name());
    if (child.ChildCount() == 1 && fw::Equals(child.Child(0).Name(), QStringLiteral("#text")))
        list.SetCell(list.LastIndex(), 1, fw::Trim(child.Child(0).Value()));
    if (form == AttributeColumn::Empty || child.AttributeCount() <= 0)
        return;
    // The cell is written once from text built here, which gives what writing it pair by pair would, in linear time.
    list.SetCell(list.LastIndex(), 2,
        form == AttributeColumn::PairsEachFollowedBySeparator ? PairsEachFollowedBySeparator(child)
                                                              : PairsJoinedBySeparator(child));
}

} // namespace editor
