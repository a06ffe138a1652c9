// Deep and wide documents: nothing recurses on depth, and nothing is quadratic in width.
#include "support/testsupport.h"
#include "xml/xmldocument.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using xml::XmlDocument;
using xml::XmlNode;

constexpr int kDepth = 100000;

QByteArray nested(int depth, const QByteArray& inner)
{
    return QByteArray("<n>").repeated(depth) + inner + QByteArray("</n>").repeated(depth);
}

XmlNode deepest(const XmlDocument& doc)
{
    XmlNode n = doc.DocumentElement();
    while (n.ChildCount() > 0 && n.Child(0).Type() == xml::XmlNodeType::Element)
        n = n.Child(0);
    return n;
}

TEST(XmlScale, HundredThousandLevelsLoadEditSaveAndRelease)
{
    QTemporaryDir dir;
    const QByteArray bytes = nested(kDepth, "x");
    {
        XmlDocument doc;
        doc.LoadXml(bytes);
        EXPECT_EQ(doc.ToBytes(), bytes);
        XmlNode bottom = deepest(doc);
        bottom.Child(0).SetValue("y");
        bottom.AppendChild(doc.CreateElement("leaf"));
        doc.SaveXml(dir.filePath("deep.xml"));
    }
    XmlDocument reread;
    reread.LoadXml(sildra::test::readFile(dir.filePath("deep.xml")));
    EXPECT_EQ(reread.ToBytes(), nested(kDepth, "y<leaf/>"));
    XmlNode bottom = deepest(reread);
    EXPECT_EQ(bottom.Child(0).Value(), "y");
    EXPECT_EQ(bottom.Child(1).Name(), "leaf");
    int depth = 1;
    for (XmlNode up = bottom.Parent(); !up.IsNil(); up = up.Parent())
        ++depth;
    EXPECT_EQ(depth, kDepth);
    reread.DocumentElement().RemoveChild(reread.DocumentElement().Child(0));
    EXPECT_EQ(reread.ToBytes(), "<n></n>");
}

// A new branch is indented level by level; working out each level must not ask again for all those above it.
TEST(XmlScale, NewDeepBranchIsIndentedLevelByLevel)
{
    constexpr int levels = 200;
    XmlDocument doc;
    doc.LoadXml("<r>\n  <a/>\n</r>");
    XmlNode branch = doc.CreateElement("b");
    for (int i = 1; i < levels; ++i) {
        XmlNode parent = doc.CreateElement("b");
        parent.AppendChild(branch);
        branch = parent;
    }
    doc.DocumentElement().AppendChild(branch);
    QByteArray expected = "<r>\n  <a/>";
    for (int i = 1; i < levels; ++i)
        expected += "\n" + QByteArray(2 * i, ' ') + "<b>";
    expected += "\n" + QByteArray(2 * levels, ' ') + "<b/>";
    for (int i = levels - 1; i >= 1; --i)
        expected += "\n" + QByteArray(2 * i, ' ') + "</b>";
    EXPECT_EQ(doc.ToBytes(), expected + "\n</r>");
}

TEST(XmlScale, TwoHundredThousandChildrenWalkAndGrow)
{
    constexpr int count = 200000;
    QByteArray bytes = "<r>";
    for (int i = 0; i < count; ++i)
        bytes += "\n  <c i=\"" + QByteArray::number(i) + "\"/>";
    bytes += "\n</r>";
    XmlDocument doc;
    doc.LoadXml(bytes);
    XmlNode root = doc.DocumentElement();
    ASSERT_EQ(root.ChildCount(), count);
    int mismatches = 0;
    for (int i = 0; i < count; ++i)
        mismatches += root.Child(i).GetAttributeNode(0).Value() != QString::number(i);
    EXPECT_EQ(mismatches, 0);

    QByteArray expected = bytes.chopped(5);
    for (int i = 0; i < count; ++i) {
        root.AppendChild(doc.CreateElement("d"));
        expected += "\n  <d/>";
    }
    EXPECT_EQ(doc.ToBytes(), expected + "\n</r>");
}

} // namespace
