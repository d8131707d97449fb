#include "ui/DonationsWindowView.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ViewTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace zb {
namespace {

using test::child;

TEST(DonationsWindowView, DetailsAreReadOnlyCopyFillsTheClipboardAndOkStoresThePosition)
{
    test::Harness h;
    h.seed(QStringLiteral("DONATIONS_WINDOW-Left"), QStringLiteral("2880"));
    h.data.files[QStringLiteral("donations.txt")] =
        QStringLiteral("Bitcoin: bc1qexample\nWeb page: https://example.org/donate\n");
    h.start();
    auto model = test::donationsWindow(h);
    model.Form_Load();
    DonationsWindowView view(model, nullptr);
    view.show();

    auto* address = child<QLineEdit>(view, "DONATION_TEXTBOX_1");
    EXPECT_TRUE(address->isReadOnly());
    EXPECT_EQ(address->text(), QStringLiteral("bc1qexample"));
    EXPECT_EQ(view.findChild<QLineEdit*>(QStringLiteral("DONATION_TEXTBOX_3")), nullptr) << "no empty rows";

    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(child<QPushButton>(view, "COPY_BUTTON_2"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("https://example.org/donate"));
    EXPECT_EQ(child<QLabel>(view, "COPY_STATUS_LABEL")->text(), QStringLiteral("Web page copied to the clipboard."));

    QTest::mouseClick(child<QPushButton>(view, "OK_BUTTON"), Qt::LeftButton);
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(h.stored(QStringLiteral("DONATIONS_WINDOW-Left")), QStringLiteral("2880"));
    EXPECT_EQ(h.stored(QStringLiteral("DONATIONS_WINDOW-Top")), QStringLiteral("1000"));
}

} // namespace
} // namespace zb
