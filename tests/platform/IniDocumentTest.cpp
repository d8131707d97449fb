#include "platform/qt/IniDocument.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

TEST(IniDocument, ValuesReadAsAPersonWroteThemAndTheEarlierQuotingStillReads)
{
    const struct {
        const char* raw;
        const char* value;
    } cases[] = {
        // By hand: everything after the first '=', as it stands.
        {R"(/bin/sh -c "cd /tmp; echo ran >> log")", R"(/bin/sh -c "cd /tmp; echo ran >> log")"},
        {"argv.sh a,b,c", "argv.sh a,b,c"},
        {R"(argv.sh "q r" s)", R"(argv.sh "q r" s)"},
        {R"("/opt/my app/run" "x")", R"("/opt/my app/run" "x")"},
        {R"(C:\dir\new # x ; y)", R"(C:\dir\new # x ; y)"},
        {"a=b=c", "a=b=c"},
        {"ünï ✓", "ünï ✓"},
        {"\"", "\""},
        // Written by the earlier version.
        {R"("a, b,c")", "a, b,c"},
        {R"("/bin/sh -c \"cd /tmp; echo\"")", R"(/bin/sh -c "cd /tmp; echo")"},
        {R"(/bin/sh -c \"date >> /tmp/log\")", R"(/bin/sh -c "date >> /tmp/log")"},
        {R"(C:\\dir\\x)", R"(C:\dir\x)"},
        {R"("  lead")", "  lead"},
        {R"("a\nb\tc")", "a\nb\tc"},
        {R"("q r")", "q r"},
        {R"("")", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IniDocument::decodeValue(QString::fromUtf8(c.raw)), QString::fromUtf8(c.value)) << c.raw;

    const QStringList awkward = {
        QStringLiteral("  leading and trailing blanks\t "),
        QStringLiteral("line one\nline two\r\n"),
        QStringLiteral("\"whole value in quotes\""),
        QStringLiteral("sh -c echo \\\"x\\\""),
        QStringLiteral("C:\\\\share"),
        QStringLiteral("bell\a1f and \x01"
                       "2"),
        QStringLiteral("ends in a backslash\\"),
        QString(),
        QStringLiteral("plain, as written; # kept"),
    };
    for (const QString& v : awkward) {
        const QString encoded = IniDocument::encodeValue(v);
        EXPECT_FALSE(encoded.contains(QLatin1Char('\n')) || encoded.contains(QLatin1Char('\r')))
            << encoded.toStdString();
        EXPECT_EQ(IniDocument::decodeValue(encoded), v) << encoded.toStdString();
    }
    EXPECT_EQ(IniDocument::encodeValue(QStringLiteral("plain, as written; # kept")),
              QStringLiteral("plain, as written; # kept"));
}

TEST(IniDocument, AWriteKeepsEveryLineThePersonWroteAndReportsThoseItCannotRead)
{
    const QByteArray file = "\xEF\xBB\xBF# my settings\r\n"
                            "[nightly]\n"
                            "TASK_1_CMD = /bin/echo a ; b  \n"
                            "TASK_5_ENA\n"
                            "TASK_2_CMD=old\n"
                            "\n"
                            "; the weekly copy\n"
                            "[wee\n"
                            "[weekly]\n"
                            "\x01\x02=\xff\xfe\n"
                            "LAST_RUN=kept\n";
    IniDocument doc = IniDocument::parse(file);
    EXPECT_FALSE(doc.unreadable());
    EXPECT_EQ(doc.linesNotUnderstood(), (QList<int>{4, 8, 10}));
    EXPECT_EQ(doc.value(QStringLiteral("nightly"), QStringLiteral("TASK_1_CMD")), QStringLiteral("/bin/echo a ; b"));
    EXPECT_EQ(doc.value(QStringLiteral("weekly"), QStringLiteral("LAST_RUN")), QStringLiteral("kept"));
    EXPECT_EQ(doc.value(QStringLiteral("nightly"), QStringLiteral("TASK_5_ENA")), std::nullopt);

    doc.setValue(QStringLiteral("nightly"), QStringLiteral("TASK_2_CMD"), QStringLiteral(" new "));
    doc.setValue(QStringLiteral("nightly"), QStringLiteral("TASK_3_CMD"), QStringLiteral("added"));
    doc.setValue(QStringLiteral("copy two"), QStringLiteral("K"), QStringLiteral("v"));
    EXPECT_EQ(doc.serialize(), QByteArray("\xEF\xBB\xBF# my settings\r\n"
                                          "[nightly]\n"
                                          "TASK_1_CMD = /bin/echo a ; b  \n"
                                          "TASK_5_ENA\n"
                                          "TASK_2_CMD=\" new \"\n"
                                          "TASK_3_CMD=added\n"
                                          "\n"
                                          "; the weekly copy\n"
                                          "[wee\n"
                                          "[weekly]\n"
                                          "\x01\x02=\xff\xfe\n"
                                          "LAST_RUN=kept\n"
                                          "\n"
                                          "[copy two]\n"
                                          "K=v\n"));
    const IniDocument again = IniDocument::parse(doc.serialize());
    EXPECT_EQ(again.value(QStringLiteral("nightly"), QStringLiteral("TASK_2_CMD")), QStringLiteral(" new "));
    EXPECT_EQ(again.value(QStringLiteral("copy two"), QStringLiteral("K")), QStringLiteral("v"));
}

TEST(IniDocument, SectionNamesOfTheEarlierVersionAndOddNamesStillMeetTheirValues)
{
    IniDocument doc = IniDocument::parse("[my%20copy]\nK=old\n[ZB-SEQUENTA-SHARED-EMAIL-SETTINGS]\nS=1\n");
    EXPECT_EQ(doc.value(QStringLiteral("my copy"), QStringLiteral("K")), QStringLiteral("old"));
    EXPECT_EQ(doc.value(QStringLiteral("ZB-SEQUENTA-SHARED-EMAIL-SETTINGS"), QStringLiteral("S")), QStringLiteral("1"));
    doc.setValue(QStringLiteral("my copy"), QStringLiteral("K"), QStringLiteral("new"));
    doc.setValue(QStringLiteral("line\nbreak "), QStringLiteral("K"), QStringLiteral("x"));
    const IniDocument again = IniDocument::parse(doc.serialize());
    EXPECT_TRUE(again.linesNotUnderstood().isEmpty()) << doc.serialize().toStdString();
    EXPECT_EQ(again.value(QStringLiteral("my copy"), QStringLiteral("K")), QStringLiteral("new"));
    EXPECT_EQ(again.value(QStringLiteral("line\nbreak "), QStringLiteral("K")), QStringLiteral("x"));
}

TEST(IniDocument, AHeaderWithACommentIsAHeaderAndABrokenOneHidesItsKeysFromTheSectionAbove)
{
    const QByteArray file = "[nightly] ; mine\n"  // 1
                            "A=1\n"               // 2
                            "[weekly]# theirs\n"  // 3
                            "B=2\n"               // 4
                            "[typo ; oops\n"      // 5
                            "B=wrong\n"           // 6
                            "; still kept\n"      // 7
                            "[a]b]\n"             // 8
                            "C=3\n"               // 9
                            "[zb]\n"              // 10
                            "P=\"pass\\0word\"\n" // 11
                            "Q=\"x\\x00\"\n";     // 12
    IniDocument doc = IniDocument::parse(file);
    EXPECT_EQ(doc.value(QStringLiteral("nightly"), QStringLiteral("A")), QStringLiteral("1"));
    EXPECT_EQ(doc.value(QStringLiteral("weekly"), QStringLiteral("B")), QStringLiteral("2"))
        << "the keys below a broken header are not the section above's";
    EXPECT_EQ(doc.value(QStringLiteral("a]b"), QStringLiteral("C")), QStringLiteral("3"));
    EXPECT_EQ(doc.value(QStringLiteral("zb"), QStringLiteral("P")), std::nullopt);
    EXPECT_EQ(doc.value(QStringLiteral("zb"), QStringLiteral("Q")), std::nullopt);
    EXPECT_EQ(doc.linesNotUnderstood(), (QList<int>{5, 6, 11, 12}));
    EXPECT_TRUE(doc.whyNotUnderstood(6).contains(QLatin1String("key B ")));
    EXPECT_TRUE(doc.whyNotUnderstood(11).contains(QLatin1String("key P ")));
    for (int line : doc.linesNotUnderstood())
        for (const char* secret : {"wrong", "pass", "word", "oops"})
            EXPECT_FALSE(doc.whyNotUnderstood(line).contains(QLatin1String(secret))) << line;

    doc.setValue(QStringLiteral("weekly"), QStringLiteral("B"), QStringLiteral("two"));
    doc.setValue(QStringLiteral("zb"), QStringLiteral("P"), QStringLiteral("new"));
    const QByteArray out = doc.serialize();
    EXPECT_TRUE(out.contains("[typo ; oops\nB=wrong\n")) << "kept verbatim, and not changed by a write";
    EXPECT_EQ(IniDocument::parse(out).value(QStringLiteral("weekly"), QStringLiteral("B")), QStringLiteral("two"));
    EXPECT_EQ(IniDocument::parse(out).value(QStringLiteral("zb"), QStringLiteral("P")), QStringLiteral("new"));
}

TEST(IniDocument, OnlyAFileWithNothingReadableIsUnreadable)
{
    EXPECT_TRUE(IniDocument::parse(QByteArray("[zb]\nK=v\0\n", 10)).unreadable()) << "binary";
    EXPECT_TRUE(IniDocument::parse("\x89PNG\x1a\xff\xfe\n\x7f garbage\n").unreadable());
    EXPECT_FALSE(IniDocument::parse("").unreadable());
    EXPECT_FALSE(IniDocument::parse("# only a comment\n").unreadable());
    EXPECT_FALSE(IniDocument::parse("\xff\n[zb]\n").unreadable());
}

} // namespace
} // namespace zb
