#pragma once

#include <QChar>
#include <QString>

class QAbstractButton;

namespace zb {

// `literal` (a caption with any "&" doubled) with Alt+`key` marked on the
// first letter that is `key` in either case; unchanged when it has none.
QString withMnemonic(const QString& literal, QChar key);
// The same with the first of `keys` that the caption holds: a button whose
// caption changes (START, STOP) keeps a key in each.
QString withMnemonic(const QString& literal, const QString& keys);

// Gives a button Alt+`key`, kept whatever caption its model shows later.
void giveMnemonic(QAbstractButton* button, QChar key);
// Gives a button the first of `keys` its caption holds, now and later.
void giveMnemonic(QAbstractButton* button, const QString& keys);
// The keys given, in order of preference; empty when none.
QString mnemonicOf(const QAbstractButton* button);

} // namespace zb
