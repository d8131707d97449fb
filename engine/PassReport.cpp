#include "PassReport.h"

#include "HistoryText.h"

#include <algorithm>

namespace zb {

namespace {
// Enough for twenty lines of any sensible output; a line longer than
// kLongestLine is cut, so that one runaway line cannot swell the mail.
constexpr qint64 kTailBytes = 64 * 1024;
constexpr int kLongestLine = 1000;

QStringList lastLines(const QByteArray& tail)
{
    QList<QByteArray> raw = tail.split('\n');
    if (!raw.isEmpty() && raw.last().isEmpty())
        raw.removeLast();
    // The first piece of a cut read may be the end of a longer line.
    if (tail.size() >= kTailBytes && raw.size() > kReportOutputLines)
        raw.removeFirst();
    QStringList out;
    for (qsizetype i = std::max<qsizetype>(0, raw.size() - kReportOutputLines); i < raw.size(); ++i) {
        QString text = QString::fromUtf8(raw[i]);
        if (text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        if (text.size() > kLongestLine)
            text = text.left(kLongestLine) + QStringLiteral(" [...]");
        out << text;
    }
    return out;
}
} // namespace

QString endEmailSubjectFor(const QString& baseName, bool clean)
{
    return QStringLiteral("ZB-SEQUENTA - ") + baseName +
           (clean ? QStringLiteral(" - COMPLETED") : QStringLiteral(" - COMPLETED WITH ERRORS"));
}

QString passReportText(const QString& subject, const HistoryPass& pass,
                       const std::function<QByteArray(const QString& file, qint64 maxBytes)>& readEnd)
{
    QString out = subject + QStringLiteral("\n\n") + historyPassText(pass);
    for (const HistorySlot& s : pass.slots) {
        if (!s.failed || s.outputFile.isEmpty())
            continue;
        const QStringList lines = lastLines(readEnd(s.outputFile, kTailBytes));
        out += QStringLiteral("\n%1, last lines of its output (%2):\n").arg(slotLabel(s.slot, s.name), s.outputFile);
        if (lines.isEmpty())
            out += QStringLiteral("(no output)\n");
        for (const QString& l : lines)
            out += l + QLatin1Char('\n');
    }
    return out;
}

} // namespace zb
