#include "AboutWindowView.h"

#include "EditorStyle.h"
#include "core/ControlTexts.h"
#include "editors/AboutWindowModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSvgWidget>
#include <QVBoxLayout>

namespace zb {

namespace {
// The picture's side, in lines of the system font: it grows with the font.
constexpr int kPictureLines = 7;
} // namespace

AboutWindowView::AboutWindowView(AboutWindowModel& model, QWidget* owner) : EditorDialog(model, owner)
{
    auto* root = style::windowLayout(this, 10, 12);
    root->addWidget(style::titleStrip(bindings_, {&model.ZB_SEQUENTA_TITLE, &model.ZB_SEQUENTA_VERSION}));

    auto* middle = new QHBoxLayout;
    middle->setSpacing(14);
    // Drawn from the vector image at every paint, so it stays sharp at any
    // screen scale.
    auto* picture = new QSvgWidget(kPictureResource);
    picture->setObjectName(QStringLiteral("ZB_SEQUENTA_PICTURE"));
    picture->setAccessibleName(text::kSpokenPicture);
    const int side = fontMetrics().lineSpacing() * kPictureLines;
    picture->setFixedSize(side, side);
    middle->addWidget(picture, 0, Qt::AlignVCenter);
    auto* thanks = bindings_.bind(model.THANK_YOU_LABEL, new QLabel);
    thanks->setAlignment(Qt::AlignCenter);
    thanks->setWordWrap(true);
    thanks->setFont(style::boldScaled(1.25));
    thanks->setMargin(10);
    middle->addWidget(thanks, 1);
    scrollingBody(root)->addLayout(middle, 1);

    auto* bottom = new QHBoxLayout;
    auto* donations = bindings_.bind(model.DONATIONS_BUTTON, new QPushButton);
    donations->setAutoDefault(false);
    style::wideButton(donations);
    bottom->addWidget(donations);
    bottom->addStretch(1);
    auto* ok = bindings_.bind(model.OK_BUTTON, new QPushButton);
    ok->setDefault(true);
    style::wideButton(ok);
    bottom->addWidget(ok);
    root->addLayout(bottom);
    applyGeometry();
}

} // namespace zb
