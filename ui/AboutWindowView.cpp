#include "AboutWindowView.h"

#include "EditorStyle.h"
#include "editors/AboutWindowModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zb {

AboutWindowView::AboutWindowView(AboutWindowModel& model, QWidget* owner) : EditorDialog(model, owner)
{
    auto* root = style::windowLayout(this, 10, 16);
    root->addWidget(style::titleStrip(bindings_, {&model.ZB_SEQUENTA_TITLE, &model.ZB_SEQUENTA_VERSION}));
    auto* thanks = bindings_.bind(model.THANK_YOU_LABEL, new QLabel);
    thanks->setAlignment(Qt::AlignCenter);
    thanks->setWordWrap(true);
    thanks->setFont(style::bold(11));
    root->addWidget(thanks, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    auto* ok = bindings_.bind(model.OK_BUTTON, new QPushButton);
    ok->setDefault(true);
    ok->setMinimumWidth(100);
    bottom->addWidget(ok);
    root->addLayout(bottom);
    applyGeometry();
}

} // namespace zb
