#include "ui/AboutWindowView.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/WindowPlacement.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace zb {
namespace {

using test::child;
using test::Harness;

TEST(AboutWindowView, ShowsTitleAndVersionAndOkStoresThePosition)
{
    Harness h;
    h.seed(QStringLiteral("ABOUT-Top"), QStringLiteral("2160"));
    h.start();
    auto model = test::aboutWindow(h);
    model.Form_Load();
    AboutWindowView view(model, nullptr);
    view.show();

    EXPECT_EQ(view.objectName(), QStringLiteral("ZB_SEQUENTA_ABOUT"));
    EXPECT_EQ(child<QLabel>(view, "ZB_SEQUENTA_TITLE")->text(), QStringLiteral("ZB-SEQUENTA"));
    EXPECT_EQ(child<QLabel>(view, "ZB_SEQUENTA_VERSION")->text(), QStringLiteral("Version 2.0"));
    QTest::mouseClick(child<QPushButton>(view, "OK_BUTTON"), Qt::LeftButton);
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(h.stored(QStringLiteral("ABOUT-Left")), QStringLiteral("1000"));
    EXPECT_EQ(h.stored(QStringLiteral("ABOUT-Top")), QStringLiteral("2160"));
}

TEST(AboutWindowView, APositionOffEveryScreenOpensAtTheDefaultPlace)
{
    Harness h;
    h.seed(QStringLiteral("ABOUT-Left"), QStringLiteral("-900000"));
    h.seed(QStringLiteral("ABOUT-Top"), QStringLiteral("900000"));
    h.start();
    auto model = test::aboutWindow(h);
    model.Form_Load();
    AboutWindowView view(model, nullptr);
    view.show();
    const int at = WindowPlacement::toPixels(1000, view.logicalDpiX());
    EXPECT_EQ(view.pos(), QPoint(at, at));
}

} // namespace
} // namespace zb
