#include "DonationsWindowModel.h"

#include "DonationDetails.h"
#include "EditorTexts.h"
#include "platform/ProgramData.h"

#include <algorithm>

namespace zb {

namespace {

const QString kWithDetails = QStringLiteral("Thank you for thinking of supporting ZB-SEQUENTA. Each detail below "
                                            "can be selected, or copied with its COPY button.");
const QString kWithoutDetails = QStringLiteral("This build of ZB-SEQUENTA carries no donation details.\n"
                                               "Whoever packages it can add them to share/zb-sequenta/donations.txt.");

} // namespace

DonationsWindowModel::DonationsWindowModel(Settings& settings, const ProgramData* data)
    : EditorWindowModel(settings, keys::DONATIONS_WINDOW, QStringLiteral("DONATIONS_WINDOW"),
                        QStringLiteral("ZB-SEQUENTA - DONATIONS")),
      ZB_SEQUENTA_TITLE(QStringLiteral("ZB_SEQUENTA_TITLE"), text::kProgramTitle),
      DONATIONS_TITLE(QStringLiteral("DONATIONS_TITLE"), QStringLiteral("DONATIONS")),
      DONATIONS_INFO_LABEL(QStringLiteral("DONATIONS_INFO_LABEL"), kWithoutDetails),
      DONATION_LABEL([](int n) { return Label(QStringLiteral("DONATION_LABEL_%1").arg(n), QString()); }),
      DONATION_TEXTBOX([](int n) { return TextField(QStringLiteral("DONATION_TEXTBOX_%1").arg(n), QString()); }),
      COPY_BUTTON([](int n) { return Button(QStringLiteral("COPY_BUTTON_%1").arg(n), QStringLiteral("COPY")); }),
      COPY_STATUS_LABEL(QStringLiteral("COPY_STATUS_LABEL"), QString()),
      OK_BUTTON(QStringLiteral("OK_BUTTON"), QStringLiteral("OK")),
      data_(data)
{
    OK_BUTTON.onClick = [this] { OK_BUTTON_Click(); };
    for (int n = 1; n <= kMaxDetails; ++n) {
        DONATION_TEXTBOX[n].setLocked(true);
        COPY_BUTTON[n].setToolTip(QStringLiteral("Copies this detail to the clipboard"));
        COPY_BUTTON[n].onClick = [this, n] { COPY_BUTTON_Click(n); };
    }
}

void DonationsWindowModel::Form_Load()
{
    loadGeometry();
    const QList<DonationDetail> details =
        data_ != nullptr ? parseDonationDetails(data_->readText(kDataFile)) : QList<DonationDetail>();
    detailCount_ = static_cast<int>(std::min<qsizetype>(details.size(), kMaxDetails));
    for (int n = 1; n <= kMaxDetails; ++n) {
        const bool shown = n <= detailCount_;
        DONATION_LABEL[n].setCaption(shown ? details[n - 1].label : QString());
        DONATION_TEXTBOX[n].setText(shown ? details[n - 1].value : QString());
        DONATION_TEXTBOX[n].setVisible(shown);
        COPY_BUTTON[n].setEnabled(shown);
    }
    DONATIONS_INFO_LABEL.setCaption(detailCount_ > 0 ? kWithDetails : kWithoutDetails);
    COPY_STATUS_LABEL.setCaption(QString());
}

void DonationsWindowModel::OK_BUTTON_Click()
{
    storePosition();
    close();
}

void DonationsWindowModel::COPY_BUTTON_Click(int n)
{
    if (n < 1 || n > detailCount_ || !copyToClipboard)
        return;
    copyToClipboard(DONATION_TEXTBOX[n].text());
    COPY_STATUS_LABEL.setCaption(QStringLiteral("%1 copied to the clipboard.").arg(DONATION_LABEL[n].caption()));
}

} // namespace zb
