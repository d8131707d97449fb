#pragma once

#include "EditorWindowModel.h"
#include "core/Control.h"
#include "core/SlotArray.h"

#include <functional>

namespace zb {

class ProgramData;

// DONATIONS_WINDOW: the donation details that whoever packaged the program
// put in its data file donations.txt, read-only and selectable, each with a
// COPY button. A build without any says so; the window never makes any up.
class DonationsWindowModel : public EditorWindowModel {
public:
    // More would not fit the window; the rest of the file is not shown.
    static constexpr int kMaxDetails = 8;
    static inline const QString kDataFile = QStringLiteral("donations.txt");

    // `data` may be null: no data files are installed.
    DonationsWindowModel(Settings& settings, const ProgramData* data);

    // Geometry and the details of the data file.
    void Form_Load();
    // Stores the position, then closes (which stores it again).
    void OK_BUTTON_Click();
    // Copies detail n's value to the clipboard.
    void COPY_BUTTON_Click(int n);

    // The details shown, rows 1 to detailCount().
    int detailCount() const { return detailCount_; }

    // Set by the view: puts a text on the clipboard.
    std::function<void(const QString& text)> copyToClipboard;

    Label ZB_SEQUENTA_TITLE;
    Label DONATIONS_TITLE;
    Label DONATIONS_INFO_LABEL;
    NumberedArray<Label, kMaxDetails> DONATION_LABEL;
    NumberedArray<TextField, kMaxDetails> DONATION_TEXTBOX;
    NumberedArray<Button, kMaxDetails> COPY_BUTTON;
    Label COPY_STATUS_LABEL;
    Button OK_BUTTON;

private:
    const ProgramData* data_;
    int detailCount_ = 0;
};

} // namespace zb
