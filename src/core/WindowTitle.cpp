#include "WindowTitle.h"

QString TitleSafe(const QString &text)
{
    QString safe = text;
    for (QChar &c : safe) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            c = QChar::ReplacementCharacter;
    }
    return safe;
}
