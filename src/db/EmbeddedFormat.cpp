#include "db/EmbeddedFormat.h"

#include <QDateTime>

namespace db {

QByteArray StoredDateTime(const QDateTime& value)
{
    const QDate date = value.date();
    const QTime time = value.time();
    char text[20];
    const auto put = [&text](int at, int number, int digits) {
        for (int i = digits - 1; i >= 0; --i, number /= 10)
            text[at + i] = char('0' + number % 10);
    };
    put(0, date.year(), 4);
    text[4] = '-';
    put(5, date.month(), 2);
    text[7] = '-';
    put(8, date.day(), 2);
    text[10] = ' ';
    put(11, time.hour(), 2);
    text[13] = ':';
    put(14, time.minute(), 2);
    text[16] = ':';
    put(17, time.second(), 2);
    return QByteArray(text, 19);
}

} // namespace db
