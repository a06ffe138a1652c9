#include "framework/menuitem.h"
#include "framework/ref.h"
#include "framework/strings.h"

#include <gtest/gtest.h>

using namespace fw;

TEST(Strings, MidAndNthFieldCountFromOneAndNeverThrow)
{
    struct Case {
        const char* text;
        int start;
        int length; // -2: to the end
        const char* expected;
    };
    const Case mids[] = { { "<root/>", 2, -2, "root/>" }, { "abc", 1, -2, "abc" }, { "abc", 3, -2, "c" },
        { "abc", 4, -2, "" }, { "abc", 0, -2, "" }, { "abc", -5, -2, "" }, { "", 1, -2, "" }, { "abcdef", 2, 3, "bcd" },
        { "abcdef", 5, 10, "ef" }, { "abcdef", 2, 0, "" }, { "abcdef", 2, -1, "" }, { "abcdef", 7, 1, "" } };
    for (const Case& c : mids)
        EXPECT_EQ(c.length == -2 ? Mid(c.text, c.start) : Mid(c.text, c.start, c.length), c.expected)
            << c.text << " " << c.start << " " << c.length;

    const std::tuple<const char*, const char*, int, const char*> fields[]
        = { { "a,b,c", ",", 1, "a" }, { "a,b,c", ",", 3, "c" }, { "a,b,c", ",", 4, "" }, { "a,b,c", ",", 0, "" },
              { "a,,c", ",", 2, "" }, { "a,,c", ",", 3, "c" }, { "one", ",", 1, "one" }, { "one", ",", 2, "" },
              { "a = 1, b = 2", ", ", 2, "b = 2" }, { "a,b", "", 1, "a,b" }, { "a,b", "", 2, "" }, { "", ",", 1, "" } };
    for (const auto& [text, separator, n, expected] : fields)
        EXPECT_EQ(NthField(text, separator, n), expected) << text << " " << separator << " " << n;
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
