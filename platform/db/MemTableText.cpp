#include "platform/db/MemTableText.h"

#include "platform/rtl/Gbk.h"

#include <QIODevice>
#include <QStringDecoder>

#include <algorithm>
#include <cmath>

namespace qx {

namespace {

const char kMagic[] = "@QXMEMTABLE";

bool isDateKindOfText(TFieldType t)
{
    return t == ftDate || t == ftTime || t == ftDateTime;
}

bool isMoneyKind(TFieldType t)
{
    return t == ftCurrency || t == ftBCD;
}

QString quoted(const QString& s)
{
    QString out;
    out.reserve(s.size() + 2);
    out += u'"';
    for (QChar c : s) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
    return out;
}

QString dateText(TFieldType type, double days)
{
    const QDateTime dt = TDateTime(days).toQDateTime();
    const QTime t = dt.time();
    const QString time = t.toString(t.msec() ? QStringLiteral("HH:mm:ss.zzz") : QStringLiteral("HH:mm:ss"));
    if (type == ftTime)
        return time;
    const QString date = dt.date().toString(QStringLiteral("yyyy-MM-dd"));
    if (type == ftDate || (t.hour() == 0 && t.minute() == 0 && t.second() == 0 && t.msec() == 0))
        return date;
    return date + u' ' + time;
}

QString valueText(const TField* f, const QVariant& cell)
{
    if (!cell.isValid() || cell.isNull())
        return QString();
    const TFieldType type = f->DataType();
    switch (f->StorageKind()) {
    case RecordStore::Kind::Text: return quoted(cell.toString());
    case RecordStore::Kind::Blob: return quoted(QString::fromLatin1(cell.toByteArray().toBase64()));
    case RecordStore::Kind::Bool: return cell.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case RecordStore::Kind::Int32:
        if (isDateKindOfText(type))
            return quoted(dateText(type, cell.toDouble()));
        return QString::number(cell.toInt());
    case RecordStore::Kind::Int64:
        if (isMoneyKind(type))
            return Currency::fromRaw(cell.toLongLong()).toString();
        return QString::number(cell.toLongLong());
    case RecordStore::Kind::Double:
        if (isDateKindOfText(type))
            return quoted(dateText(type, cell.toDouble()));
        return QString::number(cell.toDouble(), 'g', 17);
    }
    return QString();
}

// One parsed record: its values, whether each was quoted, and the line it started on.
struct Record
{
    QStringList values;
    std::vector<bool> quoted;
    int line = 0;
};

[[noreturn]] void damaged(const QString& what, int line)
{
    DatabaseError(QStringLiteral("Invalid comma text at line %1: %2").arg(line).arg(what));
}

std::vector<Record> parse(const QString& text, QChar sep)
{
    std::vector<Record> out;
    const int n = int(text.size());
    int i = 0;
    int line = 1;
    while (i < n) {
        Record r;
        r.line = line;
        for (;;) {
            QString v;
            bool q = false;
            if (i < n && text.at(i) == u'"') {
                q = true;
                const int startLine = line;
                ++i;
                bool closed = false;
                while (i < n) {
                    const QChar c = text.at(i);
                    if (c == u'"') {
                        if (i + 1 < n && text.at(i + 1) == u'"') {
                            v += u'"';
                            i += 2;
                            continue;
                        }
                        closed = true;
                        ++i;
                        break;
                    }
                    if (c == u'\n')
                        ++line;
                    v += c;
                    ++i;
                }
                if (!closed)
                    damaged(QStringLiteral("a quoted value is not closed"), startLine);
                if (i < n && text.at(i) != sep && text.at(i) != u'\r' && text.at(i) != u'\n')
                    damaged(QStringLiteral("unexpected text after a closing quote"), line);
            } else {
                const int start = i;
                while (i < n && text.at(i) != sep && text.at(i) != u'\r' && text.at(i) != u'\n')
                    ++i;
                v = text.mid(start, i - start);
            }
            r.values << v;
            r.quoted.push_back(q);
            if (i < n && text.at(i) == sep) {
                ++i;
                continue;
            }
            break;
        }
        // End of the record.
        if (i < n && text.at(i) == u'\r')
            ++i;
        if (i < n && text.at(i) == u'\n')
            ++i;
        ++line;
        // A blank line holds no record.
        if (!(r.values.size() == 1 && !r.quoted[0] && r.values[0].isEmpty()))
            out.push_back(std::move(r));
    }
    return out;
}

QString decode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString s = utf8.decode(bytes);
    if (!utf8.hasError())
        return s;
    return fromGbk(bytes);
}

QVariant parseValue(const TField* f, const QString& text, bool wasQuoted, int line)
{
    if (text.isEmpty() && !wasQuoted)
        return QVariant();
    const TFieldType type = f->DataType();
    auto bad = [&]() -> QVariant {
        damaged(QStringLiteral("'%1' is not a valid value for field '%2'").arg(text, f->FieldName()), line);
    };
    try {
        if (isDateKindOfText(type)) {
            if (type == ftTime) {
                QTime t = QTime::fromString(text, QStringLiteral("HH:mm:ss.zzz"));
                if (!t.isValid())
                    t = QTime::fromString(text, QStringLiteral("HH:mm:ss"));
                if (!t.isValid())
                    return bad();
                return f->ToCell(QVariant(t));
            }
            for (const char* fmt : {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd"}) {
                const QDateTime dt = QDateTime::fromString(text, QLatin1String(fmt));
                if (dt.isValid())
                    return f->ToCell(QVariant(dt));
            }
            return bad();
        }
        switch (f->StorageKind()) {
        case RecordStore::Kind::Text:
            // The field would cut a longer text to its size: a value is never read in cut.
            if (IsStringFieldType(type) && f->Size() > 0 && text.size() > f->Size())
                damaged(QStringLiteral("'%1' is longer than the %2 characters of field '%3'")
                            .arg(text)
                            .arg(f->Size())
                            .arg(f->FieldName()),
                        line);
            return f->ToCell(text);
        case RecordStore::Kind::Blob: {
            const auto r = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            if (!r)
                return bad();
            return f->ToCell(*r);
        }
        case RecordStore::Kind::Double: {
            bool ok = false;
            const double d = text.toDouble(&ok);
            if (!ok || !std::isfinite(d))
                return bad();
            return f->ToCell(QVariant(d));
        }
        case RecordStore::Kind::Int64:
            if (isMoneyKind(type))
                return QVariant(qlonglong(Currency::fromString(text).raw()));
            [[fallthrough]];
        case RecordStore::Kind::Int32: {
            bool ok = false;
            const qlonglong n = text.toLongLong(&ok);
            if (!ok)
                return bad();
            return f->ToCell(QVariant(n));
        }
        case RecordStore::Kind::Bool: return f->ToCell(text);
        }
    } catch (const EDatabaseError&) {
        throw;
    } catch (const Exception&) {
        return bad();
    }
    return bad();
}

} // namespace

void MemTableText::save(const TQxCustomMemTable& table, QIODevice& stream, TMemTableSaveFlags flags)
{
    table.CheckActive();
    std::vector<TField*> fields;
    for (TField* f : *table.Fields())
        if (f->FieldKind() == fkData)
            fields.push_back(f);
    const QChar sep = table.CsvSeparator();
    const bool gbk = table.CsvEncoding() == TCsvEncoding::Gbk;

    QString chunk;
    auto flush = [&](bool force) {
        if (!force && chunk.size() < 65536)
            return;
        const QByteArray bytes = gbk ? toGbk(chunk) : chunk.toUtf8();
        if (stream.write(bytes) != bytes.size())
            throw EInOutError(QStringLiteral("Cannot write the comma text: %1").arg(stream.errorString()));
        chunk.clear();
    };
    if (!gbk && stream.write("\xEF\xBB\xBF", 3) != 3)
        throw EInOutError(QStringLiteral("Cannot write the comma text: %1").arg(stream.errorString()));

    if (flags.testFlag(mtfSaveDef)) {
        chunk += QLatin1String(kMagic) + sep + QLatin1String("1\r\n");
        for (TField* f : fields) {
            chunk += QStringLiteral("@FIELD") + sep + quoted(f->FieldName()) + sep + FieldTypeName(f->DataType()) + sep
                     + QString::number(f->Size()) + sep + (f->Required() ? u'1' : u'0') + QLatin1String("\r\n");
        }
        chunk += QLatin1String("@DATA\r\n");
    }
    if (flags.testFlag(mtfSaveData)) {
        table.ForEachRecord([&] {
            for (std::size_t i = 0; i < fields.size(); ++i) {
                if (i)
                    chunk += sep;
                chunk += valueText(fields[i], table.ReadCell(fields[i]));
            }
            chunk += QLatin1String("\r\n");
            flush(false);
            return true;
        });
    }
    flush(true);
}

void MemTableText::load(TQxCustomMemTable& table, QIODevice& stream)
{
    const QString text = decode(stream.readAll());
    const QChar sep = table.CsvSeparator();
    const std::vector<Record> records = parse(text, sep);

    TFieldDefs fileDefs;
    std::size_t first = 0;
    if (!records.empty() && !records[0].quoted[0] && records[0].values[0] == QLatin1String(kMagic)) {
        if (records[0].values.value(1) != QLatin1String("1"))
            damaged(QStringLiteral("unsupported version '%1'").arg(records[0].values.value(1)), records[0].line);
        bool sawData = false;
        for (first = 1; first < records.size(); ++first) {
            const Record& r = records[first];
            if (r.values[0] == QLatin1String("@DATA") && !r.quoted[0]) {
                sawData = true;
                ++first;
                break;
            }
            if (r.values[0] != QLatin1String("@FIELD") || r.values.size() != 5)
                damaged(QStringLiteral("a field definition was expected"), r.line);
            const TFieldType type = FieldTypeFromName(r.values[2]);
            bool okSize = false;
            const int size = r.values[3].toInt(&okSize);
            const QString& name = r.values[1];
            const bool nameOk = !name.isEmpty() && name == name.trimmed()
                                && std::none_of(name.begin(), name.end(),
                                                [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
            if (type == ftUnknown || !okSize || size < 0 || !nameOk)
                damaged(QStringLiteral("field definition '%1' is not valid").arg(r.values[1]), r.line);
            try {
                fileDefs.Add(r.values[1], type, size, r.values[4] == QLatin1String("1"));
            } catch (const EDatabaseError& e) {
                damaged(e.Message(), r.line);
            }
        }
        if (!sawData)
            damaged(QStringLiteral("the @DATA line is missing"), records.back().line);
    }

    const TFieldDefs oldDefs = *table.FieldDefs();
    bool openedHere = false;
    std::vector<std::uint32_t> added;
    try {
        const std::vector<TField*> fields = table.prepareLoad(&fileDefs, openedHere);
        for (std::size_t i = first; i < records.size(); ++i) {
            const Record& r = records[i];
            if (std::size_t(r.values.size()) != fields.size())
                damaged(QStringLiteral("%1 values where the table has %2 fields").arg(r.values.size()).arg(fields.size()),
                        r.line);
            std::vector<QVariant> cells;
            cells.reserve(fields.size());
            for (std::size_t c = 0; c < fields.size(); ++c)
                cells.push_back(parseValue(fields[c], r.values[qsizetype(c)], r.quoted[c], r.line));
            const std::uint32_t slot = table.BulkAppend();
            added.push_back(slot);
            for (std::size_t c = 0; c < fields.size(); ++c)
                table.BulkSet(slot, fields[c], cells[c]);
        }
        table.BulkCommit(added);
    } catch (...) {
        if (table.Active())
            table.BulkRollback(added);
        table.undoLoad(openedHere, oldDefs);
        throw;
    }
}

} // namespace qx
