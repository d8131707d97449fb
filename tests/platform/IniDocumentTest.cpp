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
