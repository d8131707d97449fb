#pragma once

#include "EditorDialog.h"

namespace zb {

class AboutWindowModel;

// ZB_SEQUENTA_ABOUT: title, version and thanks.
class AboutWindowView : public EditorDialog {
public:
    AboutWindowView(AboutWindowModel& model, QWidget* owner);
};

} // namespace zb
