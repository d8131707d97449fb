#include "Mnemonic.h"

#include <QAbstractButton>
#include <QVariant>

namespace zb {

namespace {
const char* const kMnemonicProperty = "zbMnemonic";

// Where `key` can be marked in `literal`, or -1.
qsizetype markable(const QString& literal, QChar key)
{
    for (qsizetype i = 0; i < literal.size(); ++i) {
        if (literal[i] == QLatin1Char('&')) {
            ++i; // a doubled "&" is a shown one
            continue;
        }
        if (literal[i].toLower() == key.toLower())
            return i;
    }
    return -1;
}
} // namespace

QString withMnemonic(const QString& literal, QChar key)
{
    return key.isNull() ? literal : withMnemonic(literal, QString(key));
}

QString withMnemonic(const QString& literal, const QString& keys)
{
    for (QChar key : keys) {
        if (const qsizetype at = markable(literal, key); at >= 0) {
            QString marked = literal;
            return marked.insert(at, QLatin1Char('&'));
        }
    }
    return literal;
}

void giveMnemonic(QAbstractButton* button, QChar key) { giveMnemonic(button, QString(key)); }

void giveMnemonic(QAbstractButton* button, const QString& keys)
{
    button->setProperty(kMnemonicProperty, keys);
    button->setText(withMnemonic(button->text(), keys));
}

QString mnemonicOf(const QAbstractButton* button) { return button->property(kMnemonicProperty).toString(); }

} // namespace zb
