#pragma once

#include "EditorDialog.h"

namespace zb {

class DonationsWindowModel;

// DONATIONS_WINDOW: the donation details, read-only and selectable, a COPY
// button beside each, or the plain word that there are none.
class DonationsWindowView : public EditorDialog {
public:
    DonationsWindowView(DonationsWindowModel& model, QWidget* owner);
    ~DonationsWindowView() override;

private:
    DonationsWindowModel& model_;
};

} // namespace zb
