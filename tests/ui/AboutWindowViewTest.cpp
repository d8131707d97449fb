#include "ui/AboutWindowView.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/Bindings.h"
#include "ui/WindowPlacement.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

namespace zb {
namespace {

using test::child;
using test::Harness;

TEST(AboutWindowView, ShowsVersionIconAndColouredThanksOpensDonationsAndOkStoresThePosition)
{
    Harness h;
    h.seed(QStringLiteral("ABOUT-Top"), QStringLiteral("2160"));
    h.start();
    test::RecordingWindowOpener opener;
    auto model = test::aboutWindow(h, &opener);
    model.Form_Load();
    AboutWindowView view(model, nullptr);
    view.show();

    EXPECT_EQ(view.objectName(), QStringLiteral("ZB_SEQUENTA_ABOUT"));
    EXPECT_EQ(child<QLabel>(view, "ZB_SEQUENTA_TITLE")->text(), QStringLiteral("ZB-SEQUENTA"));
    EXPECT_EQ(child<QLabel>(view, "ZB_SEQUENTA_VERSION")->text(), QStringLiteral("Version " ZB_VERSION));

    // The icon drawn from its vector image at twice the scale: the running
    // light is cyan at (64, 52) of its 128 units, a done one green.
    QWidget* picture = child<QWidget>(view, "ZB_SEQUENTA_PICTURE");
    ASSERT_NE(picture, nullptr);
    QPixmap sharp(picture->size() * 2);
    sharp.setDevicePixelRatio(2);
    sharp.fill(Qt::white);
    picture->render(&sharp, QPoint(), QRegion(), QWidget::DrawChildren);
    const QImage image = sharp.toImage();
    const auto at = [&](int x, int y) { return image.pixelColor(x * image.width() / 128, y * image.height() / 128); };
    EXPECT_EQ(at(64, 52), QColor(0, 255, 255));
    EXPECT_EQ(at(24, 52), QColor(0, 224, 0));

    auto* thanks = child<QLabel>(view, "THANK_YOU_LABEL");
    EXPECT_EQ(thanks->palette().color(QPalette::Window), QColor(Qt::black));
    h.clock.advance(AboutWindowModel::kColourStepMs);
    EXPECT_EQ(thanks->palette().color(QPalette::WindowText), toQColor(AboutWindowModel::kThankYouColours[1]));

    QTest::mouseClick(child<QPushButton>(view, "DONATIONS_BUTTON"), Qt::LeftButton);
    EXPECT_EQ(opener.opened, std::vector<WindowKind>{WindowKind::Donations});
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
