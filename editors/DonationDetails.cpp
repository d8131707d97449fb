#include "DonationDetails.h"

#include <QRegularExpression>

namespace zb {

QList<DonationDetail> parseDonationDetails(const QString& text)
{
    static const QRegularExpression separator(QStringLiteral(":[ \\t]"));
    QList<DonationDetail> details;
    for (const QString& raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype colon = line.indexOf(separator);
        if (colon < 0)
            continue;
        DonationDetail d{line.left(colon).trimmed(), line.mid(colon + 1).trimmed()};
        if (!d.label.isEmpty() && !d.value.isEmpty())
            details << d;
    }
    return details;
}

} // namespace zb
