#include "admin/CsvReader.h"

#include "admin/AdminError.h"

#include <QFile>
#include <QStringDecoder>

namespace admin {

namespace {

// Records between two reports of how far the reading has come.
constexpr qsizetype kProgressStep = 1000;

} // namespace

QVector<CsvRecord> ReadCsv(QStringView text, const RecordsRead& read)
{
    if (text.startsWith(QChar(0xFEFF)))
        text = text.mid(1);
    // Old Mac programs end lines in CR alone: read as one line, the whole
    // file would be a header of unknown columns.
    if (text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('\n')))
        throw AdminError(QStringLiteral("The lines of the file end in a carriage return alone (CR); save it with "
                                        "Windows (CRLF) or Unix (LF) line ends."));
    QVector<CsvRecord> records;
    const qsizetype size = text.size();
    qsizetype at = 0;
    int line = 1;
    qsizetype width = 0;  // the last record's, for the next one's room
    while (at < size) {
        CsvRecord record;
        record.line = line;
        record.fields.reserve(width);
        bool recordEnds = false;
        while (!recordEnds) {
            QString field;
            if (at < size && text[at] == QLatin1Char('"')) {
                const int opened = line;
                ++at;
                for (;;) {
                    const qsizetype quote = text.indexOf(QLatin1Char('"'), at);
                    if (quote < 0)
                        throw AdminError(QStringLiteral("line %1: a quoted field is never closed.").arg(opened));
                    const QStringView part = text.mid(at, quote - at);
                    line += int(part.count(QLatin1Char('\n')));
                    field += part;
                    at = quote + 1;
                    if (at < size && text[at] == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        ++at;
                        continue;
                    }
                    break;
                }
                if (at < size && text[at] != QLatin1Char(',') && text[at] != QLatin1Char('\n')
                    && !(text[at] == QLatin1Char('\r') && at + 1 < size && text[at + 1] == QLatin1Char('\n')))
                    throw AdminError(QStringLiteral("line %1: text follows a closing quote.").arg(line));
            } else {
                qsizetype end = at;
                while (end < size && text[end] != QLatin1Char(',') && text[end] != QLatin1Char('\n'))
                    ++end;
                qsizetype fieldEnd = end;
                if (end < size && text[end] == QLatin1Char('\n') && fieldEnd > at && text[fieldEnd - 1] == QLatin1Char('\r'))
                    --fieldEnd;
                field = text.mid(at, fieldEnd - at).toString();
                at = end;
            }
            record.fields << field;
            if (at < size && text[at] == QLatin1Char(',')) {
                ++at;
                continue;
            }
            if (at < size && text[at] == QLatin1Char('\r'))
                ++at;
            if (at < size && text[at] == QLatin1Char('\n')) {
                ++at;
                ++line;
            }
            recordEnds = true;
        }
        width = record.fields.size();
        if (!(record.fields.size() == 1 && record.fields[0].isEmpty())) {
            records.push_back(std::move(record));
            if (read && records.size() % kProgressStep == 0)
                read(records.size());
        }
    }
    if (read)
        read(records.size());
    return records;
}

QVector<CsvRecord> ReadCsvFile(const QString& path, const RecordsRead& read)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AdminError(QStringLiteral("Cannot read \"%1\": %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        throw AdminError(QStringLiteral("\"%1\" is UTF-16 text, not UTF-8. ").arg(path) + kSaveAsUtf8);
    // Stateless: a sequence cut short at the end is an error, not a wait
    // for more bytes.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        // A line break is never part of a UTF-8 sequence: lines decode apart.
        const QList<QByteArray> lines = bytes.split('\n');
        int line = 1;
        while (line <= lines.size()) {
            QStringDecoder lineDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString decoded = lineDecoder.decode(lines[line - 1]);
            if (lineDecoder.hasError())
                break;
            ++line;
        }
        throw AdminError(QStringLiteral("\"%1\" is no UTF-8 text (line %2). ").arg(path).arg(line) + kSaveAsUtf8);
    }
    return ReadCsv(text, read);
}

} // namespace admin
