#include "editors/DonationDetails.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace zb {

// Found by GoogleTest beside the type.
inline void PrintTo(const DonationDetail& d, std::ostream* os)
{
    *os << d.label.toStdString() << " | " << d.value.toStdString();
}

namespace {

using test::Harness;
using Details = QList<DonationDetail>;

TEST(DonationDetails, OneLabelAndValueALineSplitAtTheFirstColonAndSpace)
{
    const DonationDetail bitcoin{QStringLiteral("Bitcoin"), QStringLiteral("bc1qexample")};
    struct Case {
        const char* text;
        Details expected;
    };
    const Case cases[] = {
        {"", {}},
        {"# Label: value, in a comment\n\n   \n  # indented comment: too\n", {}},
        {"Bitcoin: bc1qexample", {bitcoin}},
        {"  Bitcoin:   bc1qexample  \r\n", {bitcoin}},
        {"Bitcoin:\tbc1qexample\n", {bitcoin}},
        {"Web page: https://example.org/donate?a=1:2",
         {{QStringLiteral("Web page"), QStringLiteral("https://example.org/donate?a=1:2")}}},
        {"Pay: bitcoin:bc1qexample", {{QStringLiteral("Pay"), QStringLiteral("bitcoin:bc1qexample")}}},
        // Without a label, without a value, or not split the documented way.
        {"https://example.org/donate\nBitcoin:\nBitcoin: \n: bc1qexample\nBitcoin:bc1qexample\njust words", {}},
        {"Bitcoin: bc1qexample\n# Bank: hidden\nBank: DE00 1234 5678\n",
         {bitcoin, {QStringLiteral("Bank"), QStringLiteral("DE00 1234 5678")}}},
        {"Kofi: ko-fi.com/zb\xc2\xa0", {{QStringLiteral("Kofi"), QStringLiteral("ko-fi.com/zb")}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseDonationDetails(QString::fromUtf8(c.text)), c.expected) << c.text;
}

// The window over a harness whose data file holds `text` (none when null).
struct Donations {
    explicit Donations(const char* text) : window(started(h, text).settings, &h.data) {}
    static Program& started(Harness& h, const char* text)
    {
        if (text != nullptr)
            h.data.files[QStringLiteral("donations.txt")] = QString::fromUtf8(text);
        return h.start();
    }
    Harness h;
    DonationsWindowModel window;
};

TEST(DonationsWindow, ShowsEachDetailReadOnlyAndCopiesItsValue)
{
    Donations d("# shipped comment\nBitcoin: bc1qexample\nWeb page: https://example.org/donate\n");
    DonationsWindowModel& w = d.window;
    QStringList copied;
    w.copyToClipboard = [&](const QString& text) { copied << text; };
    w.Form_Load();

    ASSERT_EQ(w.detailCount(), 2);
    EXPECT_EQ(w.DONATION_LABEL[1].caption(), QStringLiteral("Bitcoin"));
    EXPECT_EQ(w.DONATION_TEXTBOX[2].text(), QStringLiteral("https://example.org/donate"));
    EXPECT_TRUE(w.DONATION_TEXTBOX[1].locked() && w.DONATION_TEXTBOX[2].locked());
    EXPECT_TRUE(w.DONATION_TEXTBOX[2].visible());
    EXPECT_FALSE(w.DONATION_TEXTBOX[3].visible());
    EXPECT_FALSE(w.COPY_BUTTON[3].enabled());
    EXPECT_FALSE(w.DONATIONS_INFO_LABEL.caption().contains(QStringLiteral("no donation details")));

    w.DONATION_TEXTBOX[1].edit(QStringLiteral("someone else's address"));
    w.COPY_BUTTON[2].click();
    w.COPY_BUTTON[1].click();
    w.COPY_BUTTON[3].click();
    EXPECT_EQ(copied, (QStringList{QStringLiteral("https://example.org/donate"), QStringLiteral("bc1qexample")}));
    EXPECT_EQ(w.COPY_STATUS_LABEL.caption(), QStringLiteral("Bitcoin copied to the clipboard."));
    EXPECT_TRUE(d.h.store.writes().isEmpty()) << "the details are never stored";
}

TEST(DonationsWindow, ABuildWithoutDetailsSaysSoInPlainWordsAndShowsNone)
{
    struct Case {
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {"no data file", nullptr},
        {"comments only, as shipped", "# Label: value\n# Bitcoin: example\n\n"},
        {"lines in no known form", "donate at example.org\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Donations d(c.text);
        DonationsWindowModel& w = d.window;
        w.Form_Load();
        EXPECT_EQ(w.detailCount(), 0);
        EXPECT_TRUE(w.DONATIONS_INFO_LABEL.caption().startsWith(
            QStringLiteral("This build of ZB-SEQUENTA carries no donation details.")));
        for (int n = 1; n <= DonationsWindowModel::kMaxDetails; ++n) {
            EXPECT_FALSE(w.DONATION_TEXTBOX[n].visible());
            EXPECT_TRUE(w.DONATION_TEXTBOX[n].text().isEmpty());
            EXPECT_FALSE(w.COPY_BUTTON[n].enabled());
        }
    }
}

TEST(DonationsWindow, AFileWithMoreDetailsThanRowsShowsTheFirstOnes)
{
    QByteArray text;
    for (int i = 1; i <= DonationsWindowModel::kMaxDetails + 3; ++i)
        text += "Detail " + QByteArray::number(i) + ": value " + QByteArray::number(i) + "\n";
    Donations d(text.constData());
    d.window.Form_Load();
    ASSERT_EQ(d.window.detailCount(), DonationsWindowModel::kMaxDetails);
    EXPECT_EQ(d.window.DONATION_TEXTBOX[DonationsWindowModel::kMaxDetails].text(), QStringLiteral("value 8"));
}

} // namespace
} // namespace zb
