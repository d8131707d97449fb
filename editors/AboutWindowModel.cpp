#include "AboutWindowModel.h"

#include "EditorTexts.h"

namespace zb {

AboutWindowModel::AboutWindowModel(Settings& settings)
    : EditorWindowModel(settings, keys::ABOUT, QStringLiteral("ZB_SEQUENTA_ABOUT"),
                        QStringLiteral("ZB-SEQUENTA - ABOUT")),
      ZB_SEQUENTA_TITLE(QStringLiteral("ZB_SEQUENTA_TITLE"), text::kProgramTitle),
      ZB_SEQUENTA_VERSION(QStringLiteral("ZB_SEQUENTA_VERSION"), text::kVersion),
      THANK_YOU_LABEL(QStringLiteral("THANK_YOU_LABEL"), QStringLiteral("Thank you for using ZB-SEQUENTA!\n"
                                                                        "May your task chains run while you sleep.")),
      OK_BUTTON(QStringLiteral("OK_BUTTON"), QStringLiteral("OK"))
{
    OK_BUTTON.onClick = [this] { OK_BUTTON_Click(); };
}

void AboutWindowModel::Form_Load() { loadGeometry(); }

void AboutWindowModel::OK_BUTTON_Click()
{
    storePosition();
    close();
}

} // namespace zb
