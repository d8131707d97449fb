#pragma once

#include "EditorDialog.h"

namespace zb {

class AboutWindowModel;

// ZB_SEQUENTA_ABOUT: title and version, the program's icon as its picture,
// the thanks in their changing colours, DONATIONS and OK.
class AboutWindowView : public EditorDialog {
public:
    // Where the program's icon lies among the program's resources.
    static inline const QString kPictureResource = QStringLiteral(":/zb-sequenta/io.github.zbsequenta.ZBSequenta.svg");

    AboutWindowView(AboutWindowModel& model, QWidget* owner);
};

} // namespace zb
