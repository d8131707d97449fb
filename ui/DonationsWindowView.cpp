#include "DonationsWindowView.h"

#include "EditorStyle.h"
#include "editors/DonationsWindowModel.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zb {

DonationsWindowView::DonationsWindowView(DonationsWindowModel& model, QWidget* owner)
    : EditorDialog(model, owner),
      model_(model)
{
    auto* root = style::windowLayout(this, 12, 12);
    root->addWidget(style::titleStrip(bindings_, {&model.ZB_SEQUENTA_TITLE, &model.DONATIONS_TITLE}));
    auto* info = bindings_.bind(model.DONATIONS_INFO_LABEL, new QLabel);
    info->setWordWrap(true);
    const bool none = model.detailCount() == 0;
    // Without details the message is all there is: it takes the middle.
    info->setAlignment(none ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    QVBoxLayout* body = scrollingBody(root);
    body->addWidget(info, none ? 1 : 0);

    // One row per detail of the data file, as Form_Load found them.
    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(8);
    rows->setColumnStretch(1, 1);
    for (int n = 1; n <= model.detailCount(); ++n) {
        auto* label = bindings_.bind(model.DONATION_LABEL[n], new QLabel);
        label->setFont(style::bold());
        auto* value = bindings_.bind(model.DONATION_TEXTBOX[n], new QLineEdit);
        label->setBuddy(value);
        auto* copy = bindings_.bind(model.COPY_BUTTON[n], new QPushButton);
        copy->setAutoDefault(false);
        rows->addWidget(label, n - 1, 0);
        rows->addWidget(value, n - 1, 1);
        rows->addWidget(copy, n - 1, 2);
    }
    body->addLayout(rows);
    if (!none)
        body->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(bindings_.bind(model.COPY_STATUS_LABEL, new QLabel), 1);
    auto* ok = bindings_.bind(model.OK_BUTTON, new QPushButton);
    ok->setDefault(true);
    style::wideButton(ok);
    bottom->addWidget(ok);
    root->addLayout(bottom);

    model_.copyToClipboard = [](const QString& text) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText(text);
        // Under X11 a middle click pastes the selection: it gets it too.
        if (clipboard->supportsSelection())
            clipboard->setText(text, QClipboard::Selection);
    };
    applyGeometry();
}

DonationsWindowView::~DonationsWindowView() { model_.copyToClipboard = nullptr; }

} // namespace zb
