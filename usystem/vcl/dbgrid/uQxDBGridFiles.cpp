#include "usystem/vcl/dbgrid/uQxDBGridFiles.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SafeSave.h"
#include "platform/stream/ImageReader.h"
#include "platform/stream/ImageWriter.h"
#include "platform/stream/PublishedProperties.h"
#include "platform/ui/Fonts.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QtEndian>

#include <memory>

namespace {

using qx::ImageReader;
using qx::ImageWriter;

const QByteArray kWrapperClass = QByteArrayLiteral("TQxColumnsWrapper");

// ---- writing -------------------------------------------------------------------------------

// The column font carries no colour and no character set of its own: it is always drawn in
// the window text colour and GBK, which is what the image says.
void writeFont(ImageWriter& w, const QByteArray& prefix, const QFont& font)
{
    w.writeShortBytes(prefix + "Charset");
    w.writeIdent("GB2312_CHARSET");
    w.writeShortBytes(prefix + "Color");
    w.writeIdent("clWindowText");
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : qx::pointsToPixels(font.pointSize());
    w.writeShortBytes(prefix + "Height");
    w.writeInteger(-pixels);
    w.writeShortBytes(prefix + "Name");
    w.writeString(font.family());
    QList<QByteArray> style;
    if (font.bold())
        style << "fsBold";
    if (font.italic())
        style << "fsItalic";
    if (font.underline())
        style << "fsUnderline";
    if (font.strikeOut())
        style << "fsStrikeOut";
    w.writeShortBytes(prefix + "Style");
    w.writeSet(style);
}

// A bitmap's data: its size in four bytes, then the bitmap file image.
QByteArray glyphData(const QImage& glyph)
{
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    if (!glyph.save(&buffer, "BMP"))
        throw EWriteError(QStringLiteral("Stream write error: the column's picture cannot be stored"));
    QByteArray data(4, '\0');
    qToLittleEndian<quint32>(quint32(bmp.size()), data.data());
    return data + bmp;
}

// One published value of obj under name, as the component stream writes it.
void writePlain(ImageWriter& w, const QObject* obj, const QMetaProperty& p, const QByteArray& name)
{
    const QVariant value = p.read(obj);
    switch (qx::propertyKind(p, value.value<QObject*>())) {
    case qx::PropertyKind::Boolean:
        w.writeShortBytes(name);
        w.writeBoolean(value.toBool());
        break;
    case qx::PropertyKind::Integer:
    case qx::PropertyKind::Int64: {
        w.writeShortBytes(name);
        const qint64 v = value.toLongLong();
        if (const auto idents = qx::integerIdents(obj->metaObject(), p))
            if (auto ident = idents->toIdent(v)) {
                w.writeIdent(*ident);
                break;
            }
        w.writeInteger(v);
        break;
    }
    case qx::PropertyKind::String:
        w.writeShortBytes(name);
        w.writeString(value.toString());
        break;
    case qx::PropertyKind::Enumeration: {
        w.writeShortBytes(name);
        if (const char* key = p.enumerator().valueToKey(value.toInt()))
            w.writeIdent(key);
        else
            w.writeInteger(value.toInt());
        break;
    }
    case qx::PropertyKind::StringList:
        w.writeShortBytes(name + ".Strings");
        w.writeStringList(value.toStringList());
        break;
    case qx::PropertyKind::Reference:
        if (const QObject* target = value.value<QObject*>(); target && !target->objectName().isEmpty()) {
            w.writeShortBytes(name);
            w.writeValueType(qx::vaIdent);
            w.writeName(target->objectName());
        }
        break;
    default:
        // A column publishes no other kind of value.
        break;
    }
}

void writeTitle(ImageWriter& w, const TQxColumnTitle* title)
{
    for (const QMetaProperty& p : qx::publishedProperties(title->metaObject())) {
        const QByteArray name = QByteArrayLiteral("Title.") + p.name();
        if (qstrcmp(p.name(), "Font") == 0) {
            if (title->isPropertyStored("Font").value_or(false))
                writeFont(w, name + '.', title->Font());
        } else if (qx::isPropertyStored(title, p)) {
            writePlain(w, title, p, name);
        }
    }
}

void writeColumn(ImageWriter& w, const TQxColumn* column)
{
    for (const QMetaProperty& p : qx::publishedProperties(column->metaObject())) {
        const char* name = p.name();
        if (qstrcmp(name, "Font") == 0) {
            if (column->isPropertyStored("Font").value_or(false))
                writeFont(w, "Font.", column->Font());
        } else if (qstrcmp(name, "Glyph") == 0) {
            if (column->isPropertyStored("Glyph").value_or(false)) {
                w.writeShortBytes("Glyph.Data");
                w.writeBinary(glyphData(column->Glyph()));
            }
        } else if (qstrcmp(name, "Title") == 0) {
            writeTitle(w, column->Title());
        } else if (qx::isPropertyStored(column, p)) {
            writePlain(w, column, p, name);
        }
    }
}

// ---- reading -------------------------------------------------------------------------------

[[noreturn]] void unknownProperty(const QByteArray& className, const QByteArray& name)
{
    ImageReader::fail(QStringLiteral("Error reading %1.%2: Property %2 does not exist")
                          .arg(QString::fromLatin1(className), QString::fromLatin1(name)));
}

[[noreturn]] void invalidValue(const QByteArray& name)
{
    ImageReader::fail(QStringLiteral("Error reading TQxColumn.%1: Invalid property value")
                          .arg(QString::fromLatin1(name)));
}

bool readBoolean(ImageReader& r, const QByteArray& name)
{
    const qx::TValueType t = r.readValueType();
    if (t != qx::vaTrue && t != qx::vaFalse)
        invalidValue(name);
    return t == qx::vaTrue;
}

// An integer value, or a named one (a colour, a character set) when the property has names.
qint64 readNamedInteger(ImageReader& r, const QByteArray& name,
                        const std::shared_ptr<const qx::IntegerIdents>& idents)
{
    if (r.peekValueType() != qx::vaIdent)
        return r.readInteger();
    const QByteArray ident = r.readIdent();
    if (idents)
        if (auto v = idents->fromIdent(ident))
            return *v;
    invalidValue(name);
}

// A named component of the grid's form (a popup menu), or none when the form has no such.
QObject* findReference(const TQxColumn* column, const QString& name)
{
    const TQxCustomDBGrid* grid = column->Grid();
    if (!grid || name.isEmpty())
        return nullptr;
    for (QObject* o : grid->window()->findChildren<QObject*>())
        if (o->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return o;
    return nullptr;
}

void readFontValue(ImageReader& r, QFont& font, const QByteArray& member, const QByteArray& name)
{
    const QByteArray m = member.toLower();
    if (m == "charset" || m == "color") {
        // The column draws in GBK and the window text colour whatever the file says: the
        // value (a name or a number) is read and passed by.
        if (r.peekValueType() == qx::vaIdent)
            r.readIdent();
        else
            r.readInteger();
        return;
    }
    if (m == "height") {
        const qint64 h = r.readInteger();
        if (h < -4096 || h > 4096)
            invalidValue(name);
        if (h != 0)
            font.setPixelSize(int(h < 0 ? -h : h));
        return;
    }
    if (m == "name") {
        const QString family = r.readString();
        if (!family.isEmpty())
            font.setFamily(family);
        return;
    }
    if (m == "style") {
        bool bold = false, italic = false, underline = false, strikeOut = false;
        for (const QByteArray& s : r.readSet()) {
            const QByteArray k = s.toLower();
            if (k == "fsbold")
                bold = true;
            else if (k == "fsitalic")
                italic = true;
            else if (k == "fsunderline")
                underline = true;
            else if (k == "fsstrikeout")
                strikeOut = true;
            else
                invalidValue(name);
        }
        font.setBold(bold);
        font.setItalic(italic);
        font.setUnderline(underline);
        font.setStrikeOut(strikeOut);
        return;
    }
    unknownProperty("TFont", member);
}

QImage readGlyph(ImageReader& r, const QByteArray& name)
{
    const QByteArray data = r.readBinary();
    if (data.isEmpty())
        return {};
    if (data.size() < 4)
        invalidValue(name);
    const quint32 size = qFromLittleEndian<quint32>(data.constData());
    if (size == 0)
        return {};
    if (qint64(size) > data.size() - 4)
        invalidValue(name);
    const QByteArray bmp = data.mid(4, qsizetype(size));
    QImage image;
    if (!bmp.startsWith("BM") || !image.loadFromData(bmp, "BMP"))
        invalidValue(name);
    return image;
}

// One plain published value of obj (the column or its title) read into it.
void readPlain(ImageReader& r, QObject* obj, const QMetaProperty& p, const QByteArray& name,
               const TQxColumn* column)
{
    QVariant value;
    switch (qx::propertyKind(p)) {
    case qx::PropertyKind::Boolean: value = readBoolean(r, name); break;
    case qx::PropertyKind::Integer: {
        const qint64 v = readNamedInteger(r, name, qx::integerIdents(obj->metaObject(), p));
        if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
            invalidValue(name);
        value = int(v);
        break;
    }
    case qx::PropertyKind::String: value = r.readString(); break;
    case qx::PropertyKind::Enumeration: {
        int v = 0;
        if (r.peekValueType() == qx::vaIdent) {
            bool ok = false;
            v = p.enumerator().keyToValue(r.readIdent().constData(), &ok);
            if (!ok)
                invalidValue(name);
        } else {
            v = int(r.readInteger());
            if (!p.enumerator().valueToKey(v))
                invalidValue(name);
        }
        value = v;
        break;
    }
    case qx::PropertyKind::Reference: {
        if (r.peekValueType() == qx::vaNil) {
            r.readValueType();
            value = QVariant::fromValue<QObject*>(nullptr);
        } else {
            QObject* target = findReference(column, QString::fromLatin1(r.readIdent()));
            // A menu the form no longer has leaves the column without one.
            if (!target || !p.metaType().metaObject() || !target->metaObject()->inherits(p.metaType().metaObject()))
                return;
            value = QVariant(p.metaType(), &target);
        }
        break;
    }
    default: unknownProperty(obj->metaObject()->className(), name);
    }
    if (!p.write(obj, value))
        invalidValue(name);
}

void readColumnProperty(ImageReader& r, TQxColumn* column, const QByteArray& name)
{
    const QByteArray lower = name.toLower();
    if (lower.startsWith("font.")) {
        QFont font = column->Font();
        readFontValue(r, font, name.mid(5), name);
        column->SetFont(font);
        return;
    }
    if (lower.startsWith("title.font.")) {
        TQxColumnTitle* title = column->Title();
        QFont font = title->Font();
        readFontValue(r, font, name.mid(11), name);
        title->SetFont(font);
        return;
    }
    if (lower == "glyph.data") {
        column->SetGlyph(readGlyph(r, name));
        return;
    }
    if (lower == "picklist.strings") {
        column->SetPickList(r.readStringList());
        return;
    }
    QObject* target = column;
    QByteArray member = name;
    if (lower.startsWith("title.")) {
        target = column->Title();
        member = name.mid(6);
    }
    const QMetaProperty p = qx::findPublishedProperty(target->metaObject(), member);
    const qx::PropertyKind kind = p.isValid() ? qx::propertyKind(p) : qx::PropertyKind::Unsupported;
    if (!p.isValid() || !p.isWritable() || kind == qx::PropertyKind::SubObject
        || kind == qx::PropertyKind::Collection || kind == qx::PropertyKind::Unsupported
        || kind == qx::PropertyKind::StringList)
        unknownProperty(target->metaObject()->className(), member);
    readPlain(r, target, p, name, column);
}

void readColumns(ImageReader& r, TQxDBGridColumns& columns)
{
    if (r.readValueType() != qx::vaCollection)
        ImageReader::failInvalid();
    qx::ReaderDepth collectionDepth(r);
    while (!r.endOfList()) {
        // The platform may put an item's order number before it.
        const qx::TValueType t = r.peekValueType();
        if (t == qx::vaInt8 || t == qx::vaInt16 || t == qx::vaInt32)
            r.readInteger();
        if (r.readValueType() != qx::vaList)
            ImageReader::failInvalid();
        qx::ReaderDepth itemDepth(r);
        TQxColumn* column = columns.Add();
        while (!r.endOfList())
            readColumnProperty(r, column, r.readShortBytes());
        r.readListEnd();
    }
    r.readListEnd();
}

} // namespace

// ---- TQxColumnsWrapper ---------------------------------------------------------------------

TQxColumnsWrapper::TQxColumnsWrapper(QObject* parent) : QObject(parent) {}

TQxColumnsWrapper::~TQxColumnsWrapper() = default;

void TQxColumnsWrapper::WriteToStream(QIODevice& Stream) const
{
    ImageWriter w(Stream);
    w.writeSignature();
    w.writeShortBytes(kWrapperClass);
    w.writeName(objectName());
    if (FColumns) {
        w.writeShortBytes("Columns");
        w.writeValueType(qx::vaCollection);
        for (int i = 0; i < FColumns->Count(); ++i) {
            w.writeListBegin();
            writeColumn(w, FColumns->Items(i));
            w.writeListEnd();
        }
        w.writeListEnd();
    }
    w.writeListEnd(); // the wrapper's properties
    w.writeListEnd(); // its children: none
}

void TQxColumnsWrapper::ReadFromStream(QIODevice& Stream)
{
    ImageReader r(Stream);
    r.readSignature();
    const QByteArray className = r.readShortBytes();
    if (className.compare(kWrapperClass, Qt::CaseInsensitive) != 0)
        ImageReader::fail(QStringLiteral("Class %1 not found").arg(QString::fromLatin1(className)));
    r.readName();
    while (!r.endOfList()) {
        const QByteArray name = r.readShortBytes();
        if (name.compare("Columns", Qt::CaseInsensitive) != 0 || !FColumns)
            unknownProperty(kWrapperClass, name);
        readColumns(r, *FColumns);
    }
    r.readListEnd();
    // The wrapper owns no components.
    r.readListEnd();
}

// ---- stream and file operations ------------------------------------------------------------

void SaveColumnsToStream(const TQxDBGridColumns& Columns, QIODevice& Stream)
{
    TQxColumnsWrapper wrapper;
    wrapper.SetColumns(const_cast<TQxDBGridColumns*>(&Columns));
    wrapper.WriteToStream(Stream);
}

void LoadColumnsFromStream(TQxDBGridColumns& Columns, QIODevice& Stream)
{
    TQxCustomDBGrid* grid = Columns.Grid();
    // A collection of the grid's own kind takes the columns as read; the grid's columns are
    // replaced only when the whole image was read.
    std::unique_ptr<TQxDBGridColumns> read(new TQxDBGridColumns(grid));
    read->BeginUpdate();
    TQxColumnsWrapper wrapper;
    wrapper.SetColumns(read.get());
    wrapper.ReadFromStream(Stream);
    if (grid && grid->Columns() == &Columns) {
        grid->SetColumns(read.get());
    } else {
        Columns.BeginUpdate();
        try {
            Columns.clear();
            for (int i = 0; i < read->Count(); ++i)
                Columns.Add()->Assign(read->Items(i));
        } catch (...) {
            Columns.EndUpdate();
            throw;
        }
        Columns.EndUpdate();
    }
}

void TQxDBGridColumns::SaveToFile(const QString& FileName)
{
    // A safe save: a failed save (disk full, no right to write) leaves the old layout whole.
    qx::saveFile(FileName, [&](QIODevice& out) { SaveColumnsToStream(*this, out); });
}

void TQxDBGridColumns::LoadFromFile(const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2")
                              .arg(QFileInfo(FileName).absoluteFilePath(), file.errorString()));
    LoadColumnsFromStream(*this, file);
}
