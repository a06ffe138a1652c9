#include "editor/toplevelrows.h"

#include "framework/listbox.h"
#include "framework/strings.h"
#include "shell/mainwindow.h"
#include "xml/xmlattribute.h"
#include "xml/xmldocument.h"
#include "xml/xmlnode.h"

#include <QVarLengthArray>

namespace editor {

namespace {

    // The attribute column in either pairs form, built in one allocation.
    QString AttributePairs(const xml::XmlNode& node, AttributeColumn form)
    {
        const QLatin1StringView equals(" = ");
        const QLatin1StringView separator(", ");
        QVarLengthArray<QString, 16> parts;
        qsizetype length = 0;
        for (int j = 0; j <= node.AttributeCount() - 1; ++j) {
            const xml::XmlAttribute attribute = node.GetAttributeNode(j);
            parts.append(attribute.Name());
            parts.append(attribute.Value());
            length += parts[parts.size() - 2].size() + equals.size() + parts.back().size() + separator.size();
        }
        QString text;
        text.reserve(length);
        if (form == AttributeColumn::PairsEachFollowedBySeparator) {
            for (qsizetype k = 0; k < parts.size(); k += 2)
                text.append(parts[k]).append(equals).append(parts[k + 1]).append(separator);
        } else {
            for (qsizetype k = 0; k < parts.size(); k += 2)
                text.append(separator).append(parts[k]).append(equals).append(parts[k + 1]);
            text.remove(0, 2); // Mid(text, 3): the separator in front of the first pair goes
        }
        return text;
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
    // The cell is written once, from the text that writing it pair by pair would leave, built in linear time.
    list.SetCell(list.LastIndex(), 2, AttributePairs(child, form));
}

} // namespace editor
