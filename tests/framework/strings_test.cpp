#include "framework/menuitem.h"
#include "framework/ref.h"
#include "framework/strings.h"

#include <gtest/gtest.h>

using namespace fw;

TEST(Strings, MidCountsFromOneAndNeverThrows)
{
    EXPECT_EQ(Mid("<root/>", 2), "root/>");
    EXPECT_EQ(Mid("abc", 1), "abc");
    EXPECT_EQ(Mid("abc", 3), "c");
    EXPECT_EQ(Mid("abc", 4), "");
    EXPECT_EQ(Mid("abc", 0), "");
    EXPECT_EQ(Mid("abc", -5), "");
    EXPECT_EQ(Mid("", 1), "");
    EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Mid("abcdef", 5, 10), "ef");
    EXPECT_EQ(Mid("abcdef", 2, 0), "");
    EXPECT_EQ(Mid("abcdef", 2, -1), "");
    EXPECT_EQ(Mid("abcdef", 7, 1), "");
}

TEST(Strings, NthFieldCountsFromOne)
{
    EXPECT_EQ(NthField("a,b,c", ",", 1), "a");
    EXPECT_EQ(NthField("a,b,c", ",", 3), "c");
    EXPECT_EQ(NthField("a,b,c", ",", 4), "");
    EXPECT_EQ(NthField("a,b,c", ",", 0), "");
    EXPECT_EQ(NthField("a,,c", ",", 2), "");
    EXPECT_EQ(NthField("a,,c", ",", 3), "c");
    EXPECT_EQ(NthField("one", ",", 1), "one");
    EXPECT_EQ(NthField("one", ",", 2), "");
    EXPECT_EQ(NthField("a = 1, b = 2", ", ", 2), "b = 2");
    EXPECT_EQ(NthField("a,b", "", 1), "a,b");
    EXPECT_EQ(NthField("a,b", "", 2), "");
    EXPECT_EQ(NthField("", ",", 1), "");
}

TEST(Strings, AscTrimEqualsEndOfLine)
{
    EXPECT_EQ(Asc(""), 0);
    EXPECT_EQ(Asc("\r"), 13);
    EXPECT_EQ(Asc(QString(QChar(3))), 3);
    EXPECT_EQ(Asc("Ab"), 65);
    EXPECT_EQ(Asc(QString::fromUtf8("\xF0\x9F\x98\x80")), 0x1F600);
    EXPECT_EQ(Trim(" \t a b \n"), "a b");
    EXPECT_TRUE(Equals("#TEXT", "#text"));
    EXPECT_FALSE(Equals("#text", "#text "));
    EXPECT_EQ(EndOfLine(), "\n");
}

TEST(Ref, NilRaisesAndKindsConvert)
{
    Ref<MenuItem> nil;
    EXPECT_TRUE(nil.IsNil());
    EXPECT_THROW(nil->Text(), NilObjectException);
    EXPECT_THROW(*nil, NilObjectException);

    auto item = MakeRef<MenuItem>("Edit");
    EXPECT_FALSE(item.IsNil());
    EXPECT_EQ(item->Text(), "Edit");
    EXPECT_TRUE(item.As<MenuItem>() == item);
}
