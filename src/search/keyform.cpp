#include "search/keyform.h"

QString keyForm(const QString& number) {
    QString out;
    out.reserve(number.size());
    for (const QChar c : number) {
        switch (c.unicode()) {
        case u' ':
        case u'(':
        case u')':
        case u',':
        case u'-':
        case u'.':
        case u'X':
        case u'x':
        case u'\u0425': // Cyrillic capital Ha
        case u'\u0445': // Cyrillic small ha
            break;
        case u'I':
            out += QLatin1Char('1');
            break;
        default:
            out += c;
        }
    }
    return out;
}
