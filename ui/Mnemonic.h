#pragma once

#include <QChar>
#include <QString>

class QAbstractButton;

namespace zb {

// `literal` (a caption with any "&" doubled) with Alt+`key` marked on the
// first letter that is `key` in either case; unchanged when it has none.
QString withMnemonic(const QString& literal, QChar key);

// Gives a button Alt+`key`, kept whatever caption its model shows later.
void giveMnemonic(QAbstractButton* button, QChar key);
// The key given, or a null QChar.
QChar mnemonicOf(const QAbstractButton* button);

} // namespace zb
