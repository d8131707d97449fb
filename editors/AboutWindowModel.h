#pragma once

#include "EditorWindowModel.h"
#include "core/Control.h"

namespace zb {

// ZB_SEQUENTA_ABOUT: the program's title, its version and a thank-you text.
class AboutWindowModel : public EditorWindowModel {
public:
    explicit AboutWindowModel(Settings& settings);

    void Form_Load();
    // Stores the position, then closes (which stores it again).
    void OK_BUTTON_Click();

    Label ZB_SEQUENTA_TITLE;
    Label ZB_SEQUENTA_VERSION;
    Label THANK_YOU_LABEL;
    Button OK_BUTTON;
};

} // namespace zb
