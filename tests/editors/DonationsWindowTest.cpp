#include "editors/DonationDetails.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace zb {

// Found by GoogleTest beside the type.
inline void PrintTo(const DonationDetail& d, std::ostream* os)
{
    *os << d.label.toStdString() << '|' << d.value.toStdString();
}

namespace {

TEST(DonationDetails, OneLabelAndValueALineSplitAtTheFirstColonAndSpace)
{
    const DonationDetail coin{QStringLiteral("Coin"), QStringLiteral("bc1q")};
    const DonationDetail pay{QStringLiteral("Pay"), QStringLiteral("bitcoin:bc1q?a=1")};
    const struct {
        const char* text;
        QList<DonationDetail> expected;
    } cases[] = {
        {"# Coin: a comment\n\n  # Indented: too\n", {}},
        {"  Coin:   bc1q  \r\nPay:\tbitcoin:bc1q?a=1\xc2\xa0", {coin, pay}},
        // No label, no value, or not split the documented way.
        {"https://example.org/donate\nCoin:\nCoin: \n: bc1q\nCoin:bc1q\n# Pay: hidden\nCoin: bc1q", {coin}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseDonationDetails(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(DonationsWindow, ShowsTheFirstEightDetailsReadOnlyAndCopiesThemOrSaysThereAreNone)
{
    for (const bool withFile : {false, true}) {
        SCOPED_TRACE(withFile ? "nine details" : "no data file");
        test::Harness h;
        for (int i = 1; withFile && i <= 9; ++i)
            h.data.files[QStringLiteral("donations.txt")] +=
                QStringLiteral("Detail %1: https://example.org/%1\n").arg(i);
        h.start();
        auto w = test::donationsWindow(h);
        QStringList copied;
        w.copyToClipboard = [&](const QString& text) { copied << text; };
        w.Form_Load();

        EXPECT_EQ(w.detailCount(), withFile ? 8 : 0);
        EXPECT_NE(w.DONATIONS_INFO_LABEL.caption().startsWith(
                      QStringLiteral("This build of ZB-SEQUENTA carries no donation details.")),
                  withFile);
        for (int n = 1; n <= DonationsWindowModel::kMaxDetails; ++n) {
            EXPECT_EQ(w.DONATION_TEXTBOX[n].visible(), withFile) << n;
            EXPECT_TRUE(w.DONATION_TEXTBOX[n].locked()) << n;
            w.COPY_BUTTON[n].click();
        }
        EXPECT_EQ(copied.size(), w.detailCount()) << "only a shown detail copies";
        if (withFile) {
            EXPECT_EQ(copied[1], QStringLiteral("https://example.org/2"));
            EXPECT_EQ(w.COPY_STATUS_LABEL.caption(), QStringLiteral("Detail 8 copied to the clipboard."));
        }
    }
}

} // namespace
} // namespace zb
