#pragma once

#include <QList>
#include <QString>

namespace zb {

struct DonationDetail {
    QString label;
    QString value;

    bool operator==(const DonationDetail&) const = default;
};

// The details of a donations file, in file order: one "label: value" a line,
// split at the first colon that a space or tab follows, so that a value may
// hold colons of its own (a URL, a payment URI). Blank lines, lines that
// start with '#' and lines without a label or a value are passed over.
QList<DonationDetail> parseDonationDetails(const QString& text);

} // namespace zb
