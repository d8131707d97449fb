#include "Mnemonic.h"

#include <QAbstractButton>
#include <QVariant>

namespace zb {

namespace {
const char* const kMnemonicProperty = "zbMnemonic";
}

QString withMnemonic(const QString& literal, QChar key)
{
    if (key.isNull())
        return literal;
    for (qsizetype i = 0; i < literal.size(); ++i) {
        if (literal[i] == QLatin1Char('&')) {
            ++i; // a doubled "&" is a shown one
            continue;
        }
        if (literal[i].toLower() == key.toLower()) {
            QString marked = literal;
            return marked.insert(i, QLatin1Char('&'));
        }
    }
    return literal;
}

void giveMnemonic(QAbstractButton* button, QChar key)
{
    button->setProperty(kMnemonicProperty, QVariant::fromValue(key));
    button->setText(withMnemonic(button->text(), key));
}

QChar mnemonicOf(const QAbstractButton* button) { return button->property(kMnemonicProperty).value<QChar>(); }

} // namespace zb
