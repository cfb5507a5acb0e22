#include "platform/template/TemplateFormat.h"

#include "platform/rtl/SafeSave.h"
#include "platform/report/Paper.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>

namespace qx::tpl {

namespace {

const QString kFormatName = QStringLiteral("repairshop-document-template");

// ---- writing ---------------------------------------------------------------------------

QString colorText(TColor c)
{
    const int r = c & 0xff;
    const int g = (c >> 8) & 0xff;
    const int b = (c >> 16) & 0xff;
    return QStringLiteral("#%1%2%3")
        .arg(r, 2, 16, QLatin1Char('0'))
        .arg(g, 2, 16, QLatin1Char('0'))
        .arg(b, 2, 16, QLatin1Char('0'));
}

QJsonObject fontJson(const TemplateFont& f)
{
    return QJsonObject{{QStringLiteral("name"), f.name},           {QStringLiteral("size"), f.size},
                       {QStringLiteral("bold"), f.bold},           {QStringLiteral("italic"), f.italic},
                       {QStringLiteral("underline"), f.underline}, {QStringLiteral("color"), colorText(f.color)}};
}

QJsonObject frameJson(const TemplateFrame& f)
{
    return QJsonObject{{QStringLiteral("left"), f.left},   {QStringLiteral("top"), f.top},
                       {QStringLiteral("right"), f.right}, {QStringLiteral("bottom"), f.bottom},
                       {QStringLiteral("width"), f.width}, {QStringLiteral("color"), colorText(f.color)}};
}

QJsonObject objectJson(const TemplateObject& o)
{
    QJsonObject j{{QStringLiteral("kind"), objectKindName(o.kind)},
                  {QStringLiteral("left"), o.left},
                  {QStringLiteral("top"), o.top},
                  {QStringLiteral("width"), o.width},
                  {QStringLiteral("height"), o.height},
                  {QStringLiteral("text"), o.text},
                  {QStringLiteral("dataset"), o.dataSet},
                  {QStringLiteral("field"), o.field},
                  {QStringLiteral("format"), o.format},
                  {QStringLiteral("font"), fontJson(o.font)},
                  {QStringLiteral("fill"), o.fill == kNoFill ? QStringLiteral("none") : colorText(o.fill)},
                  {QStringLiteral("frame"), frameJson(o.frame)},
                  {QStringLiteral("align"), alignName(o.align)},
                  {QStringLiteral("wordWrap"), o.wordWrap},
                  {QStringLiteral("stretch"), o.stretch}};
    if (!o.png.isEmpty())
        j.insert(QStringLiteral("png"), QString::fromLatin1(o.png.toBase64()));
    return j;
}

QJsonObject bandJson(const TemplateBand& b)
{
    QJsonArray objects;
    for (const TemplateObject& o : b.objects)
        objects.append(objectJson(o));
    return QJsonObject{{QStringLiteral("kind"), bandKindName(b.kind)},
                       {QStringLiteral("height"), b.height},
                       {QStringLiteral("dataset"), b.dataSet},
                       {QStringLiteral("group"), b.group},
                       {QStringLiteral("expression"), b.expression},
                       {QStringLiteral("objects"), objects}};
}

QJsonObject pageJson(const TemplatePage& p)
{
    return QJsonObject{
        {QStringLiteral("paper"), qx::report::paperSizeName(p.paper)},
        {QStringLiteral("orientation"),
         p.orientation == Orientation::Landscape ? QStringLiteral("landscape") : QStringLiteral("portrait")},
        {QStringLiteral("width"), p.width},
        {QStringLiteral("length"), p.length},
        {QStringLiteral("margins"), QJsonObject{{QStringLiteral("left"), p.leftMargin},
                                                {QStringLiteral("top"), p.topMargin},
                                                {QStringLiteral("right"), p.rightMargin},
                                                {QStringLiteral("bottom"), p.bottomMargin}}}};
}

// ---- reading ---------------------------------------------------------------------------

[[noreturn]] void damaged(const QString& place, const QString& what)
{
    throw ETemplateError(QStringLiteral("报表模板已损坏：%1 %2").arg(place, what));
}

// Reads the members of one JSON object; a member that is missing keeps the default, one of
// the wrong type or out of range is an error naming its place ("bands[2].height").
class Reader
{
public:
    Reader(const QJsonObject& object, QString place) : m_object(object), m_place(std::move(place)) {}

    QString at(const QString& key) const { return m_place.isEmpty() ? key : m_place + u'.' + key; }

    void integer(const QString& key, int& out, int low, int high) const
    {
        const QJsonValue v = m_object.value(key);
        if (v.isUndefined())
            return;
        const double d = v.toDouble(std::nan(""));
        if (!v.isDouble() || !std::isfinite(d) || d != std::floor(d) || d < low || d > high)
            damaged(at(key), QStringLiteral("不是 %1 到 %2 之间的整数").arg(low).arg(high));
        out = int(d);
    }

    void boolean(const QString& key, bool& out) const
    {
        const QJsonValue v = m_object.value(key);
        if (v.isUndefined())
            return;
        if (!v.isBool())
            damaged(at(key), QStringLiteral("不是 true 或 false"));
        out = v.toBool();
    }

    void text(const QString& key, QString& out) const
    {
        const QJsonValue v = m_object.value(key);
        if (v.isUndefined())
            return;
        if (!v.isString())
            damaged(at(key), QStringLiteral("不是文字"));
        out = v.toString();
    }

    // "#rrggbb"; with allowNone, "none" gives kNoFill.
    void color(const QString& key, TColor& out, bool allowNone = false) const
    {
        QString t;
        if (!m_object.contains(key))
            return;
        text(key, t);
        if (allowNone && t == QLatin1String("none")) {
            out = kNoFill;
            return;
        }
        bool ok = t.size() == 7 && t.at(0) == u'#';
        const uint rgb = ok ? t.mid(1).toUInt(&ok, 16) : 0;
        for (qsizetype i = 1; ok && i < t.size(); ++i)
            ok = t.at(i).isDigit() || (t.at(i) >= u'a' && t.at(i) <= u'f') || (t.at(i) >= u'A' && t.at(i) <= u'F');
        if (!ok)
            damaged(at(key), QStringLiteral("不是 #rrggbb 形式的颜色"));
        const int r = int((rgb >> 16) & 0xff), g = int((rgb >> 8) & 0xff), b = int(rgb & 0xff);
        out = TColor(r | (g << 8) | (b << 16));
    }

    QJsonObject object(const QString& key) const
    {
        const QJsonValue v = m_object.value(key);
        if (v.isUndefined())
            return QJsonObject();
        if (!v.isObject())
            damaged(at(key), QStringLiteral("不是对象"));
        return v.toObject();
    }

    QJsonArray array(const QString& key) const
    {
        const QJsonValue v = m_object.value(key);
        if (v.isUndefined())
            return QJsonArray();
        if (!v.isArray())
            damaged(at(key), QStringLiteral("不是列表"));
        return v.toArray();
    }

private:
    const QJsonObject m_object;
    const QString m_place;
};

QJsonObject elementObject(const QJsonArray& array, qsizetype i, const QString& place)
{
    const QJsonValue v = array.at(i);
    if (!v.isObject())
        damaged(place, QStringLiteral("不是对象"));
    return v.toObject();
}

TemplateFont readFont(const QJsonObject& j, const QString& place)
{
    TemplateFont f;
    const Reader r(j, place);
    r.text(QStringLiteral("name"), f.name);
    r.integer(QStringLiteral("size"), f.size, 1, kMaxFontSize);
    r.boolean(QStringLiteral("bold"), f.bold);
    r.boolean(QStringLiteral("italic"), f.italic);
    r.boolean(QStringLiteral("underline"), f.underline);
    r.color(QStringLiteral("color"), f.color);
    return f;
}

TemplateFrame readFrame(const QJsonObject& j, const QString& place)
{
    TemplateFrame f;
    const Reader r(j, place);
    r.boolean(QStringLiteral("left"), f.left);
    r.boolean(QStringLiteral("top"), f.top);
    r.boolean(QStringLiteral("right"), f.right);
    r.boolean(QStringLiteral("bottom"), f.bottom);
    r.integer(QStringLiteral("width"), f.width, 0, kMaxLineWidth);
    r.color(QStringLiteral("color"), f.color);
    return f;
}

TemplateObject readObject(const QJsonObject& j, const QString& place)
{
    TemplateObject o;
    const Reader r(j, place);
    QString kind;
    r.text(QStringLiteral("kind"), kind);
    if (!objectKindFromName(kind, o.kind))
        damaged(r.at(QStringLiteral("kind")), QStringLiteral("是未知的对象类型“%1”").arg(kind));
    r.integer(QStringLiteral("left"), o.left, -kMaxLength, kMaxLength);
    r.integer(QStringLiteral("top"), o.top, -kMaxLength, kMaxLength);
    r.integer(QStringLiteral("width"), o.width, 0, kMaxLength);
    r.integer(QStringLiteral("height"), o.height, 0, kMaxLength);
    r.text(QStringLiteral("text"), o.text);
    r.text(QStringLiteral("dataset"), o.dataSet);
    r.text(QStringLiteral("field"), o.field);
    r.text(QStringLiteral("format"), o.format);
    o.font = readFont(r.object(QStringLiteral("font")), r.at(QStringLiteral("font")));
    r.color(QStringLiteral("fill"), o.fill, true);
    o.frame = readFrame(r.object(QStringLiteral("frame")), r.at(QStringLiteral("frame")));
    QString align = alignName(o.align);
    r.text(QStringLiteral("align"), align);
    if (!alignFromName(align, o.align))
        damaged(r.at(QStringLiteral("align")), QStringLiteral("是未知的对齐方式“%1”").arg(align));
    r.boolean(QStringLiteral("wordWrap"), o.wordWrap);
    r.boolean(QStringLiteral("stretch"), o.stretch);
    QString png;
    r.text(QStringLiteral("png"), png);
    if (!png.isEmpty()) {
        const QByteArray::FromBase64Result decoded =
            QByteArray::fromBase64Encoding(png.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded || png.size() % 4 != 0)
            damaged(r.at(QStringLiteral("png")), QStringLiteral("不是 Base64 编码"));
        QString why;
        if (!checkPng(*decoded, &why))
            damaged(r.at(QStringLiteral("png")), why);
        o.png = *decoded;
    }
    return o;
}

TemplateBand readBand(const QJsonObject& j, const QString& place)
{
    TemplateBand b;
    const Reader r(j, place);
    QString kind;
    r.text(QStringLiteral("kind"), kind);
    if (!bandKindFromName(kind, b.kind))
        damaged(r.at(QStringLiteral("kind")), QStringLiteral("是未知的带类型“%1”").arg(kind));
    r.integer(QStringLiteral("height"), b.height, 0, kMaxLength);
    r.text(QStringLiteral("dataset"), b.dataSet);
    r.text(QStringLiteral("group"), b.group);
    r.text(QStringLiteral("expression"), b.expression);
    const QJsonArray objects = r.array(QStringLiteral("objects"));
    for (qsizetype i = 0; i < objects.size(); ++i) {
        const QString at = r.at(QStringLiteral("objects[%1]").arg(i));
        b.objects.append(readObject(elementObject(objects, i, at), at));
    }
    return b;
}

TemplatePage readPage(const QJsonObject& j)
{
    TemplatePage p;
    const Reader r(j, QStringLiteral("page"));
    QString paper = qx::report::paperSizeName(p.paper);
    r.text(QStringLiteral("paper"), paper);
    bool known = false;
    for (int s = Default; s <= Custom; ++s) {
        if (qx::report::paperSizeName(TQRPaperSize(s)) == paper) {
            p.paper = TQRPaperSize(s);
            known = true;
        }
    }
    if (!known)
        damaged(r.at(QStringLiteral("paper")), QStringLiteral("是未知的纸张“%1”").arg(paper));
    QString orientation = QStringLiteral("portrait");
    r.text(QStringLiteral("orientation"), orientation);
    if (orientation == QLatin1String("landscape"))
        p.orientation = Orientation::Landscape;
    else if (orientation != QLatin1String("portrait"))
        damaged(r.at(QStringLiteral("orientation")), QStringLiteral("是未知的方向“%1”").arg(orientation));
    r.integer(QStringLiteral("width"), p.width, 1, kMaxLength);
    r.integer(QStringLiteral("length"), p.length, 1, kMaxLength);
    const Reader m(r.object(QStringLiteral("margins")), r.at(QStringLiteral("margins")));
    m.integer(QStringLiteral("left"), p.leftMargin, 0, kMaxLength);
    m.integer(QStringLiteral("top"), p.topMargin, 0, kMaxLength);
    m.integer(QStringLiteral("right"), p.rightMargin, 0, kMaxLength);
    m.integer(QStringLiteral("bottom"), p.bottomMargin, 0, kMaxLength);
    if (p.leftMargin + p.rightMargin >= p.width || p.topMargin + p.bottomMargin >= p.length)
        damaged(r.at(QStringLiteral("margins")), QStringLiteral("不给页面留下可打印的地方"));
    return p;
}

// Reads the PNG header: the signature and the IHDR chunk with the picture's size.
bool pngSize(const QByteArray& png, quint32& width, quint32& height)
{
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (png.size() < 33 || !png.startsWith(QByteArray::fromRawData(signature, 8)))
        return false;
    auto be32 = [&png](int at) {
        const auto* p = reinterpret_cast<const unsigned char*>(png.constData() + at);
        return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
    };
    if (be32(8) != 13 || png.mid(12, 4) != "IHDR")
        return false;
    width = be32(16);
    height = be32(20);
    return true;
}

} // namespace

bool checkPng(const QByteArray& png, QString* why)
{
    quint32 w = 0, h = 0;
    if (!pngSize(png, w, h)) {
        if (why)
            *why = QStringLiteral("不是 PNG 图片");
        return false;
    }
    if (w == 0 || h == 0 || w > quint32(kMaxPictureSide) || h > quint32(kMaxPictureSide) ||
        qint64(w) * qint64(h) > kMaxPicturePixels) {
        if (why)
            *why = QStringLiteral("的图片尺寸 %1×%2 超出限度").arg(w).arg(h);
        return false;
    }
    return true;
}

QImage decodePng(const QByteArray& png)
{
    if (!checkPng(png))
        return QImage();
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    // The header was checked; the limit also stops a picture whose later chunks disagree.
    reader.setAllocationLimit(int(kMaxPicturePixels * 4 / (1024 * 1024)) + 1);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)
        return QImage();
    QImage image;
    if (!reader.read(&image))
        return QImage();
    return image;
}

QByteArray writeTemplate(const TemplateDocument& doc)
{
    QJsonArray bands;
    for (const TemplateBand& b : doc.bands)
        bands.append(bandJson(b));
    const QJsonObject root{{QStringLiteral("format"), kFormatName},
                           {QStringLiteral("version"), kFormatVersion},
                           {QStringLiteral("page"), pageJson(doc.page)},
                           {QStringLiteral("bands"), bands}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

TemplateDocument readTemplate(const QByteArray& bytes)
{
    TemplateDocument doc;
    if (bytes.isEmpty())
        return doc;
    if (bytes.size() > kMaxTemplateBytes)
        throw ETemplateError(QStringLiteral("报表模板太大（%1 字节）").arg(bytes.size()));
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !json.isObject())
        throw ETemplateError(QStringLiteral("不是本系统的报表模板"));
    const QJsonObject root = json.object();
    if (root.value(QStringLiteral("format")).toString() != kFormatName)
        throw ETemplateError(QStringLiteral("不是本系统的报表模板"));
    int version = 0;
    const Reader r(root, QString());
    r.integer(QStringLiteral("version"), version, 1, 1000000);
    if (version == 0)
        damaged(QStringLiteral("version"), QStringLiteral("缺少"));
    if (version > kFormatVersion)
        throw ETemplateError(QStringLiteral("报表模板的格式版本 %1 比本程序新，无法读取").arg(version));
    doc.page = readPage(r.object(QStringLiteral("page")));
    const QJsonArray bands = r.array(QStringLiteral("bands"));
    for (qsizetype i = 0; i < bands.size(); ++i) {
        const QString at = QStringLiteral("bands[%1]").arg(i);
        doc.bands.append(readBand(elementObject(bands, i, at), at));
    }
    return doc;
}

QByteArray readTemplateFile(const QString& fileName)
{
    const QString shown = QFileInfo(fileName).absoluteFilePath();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("无法打开文件“%1”：%2").arg(shown, file.errorString()));
    if (file.size() > kMaxTemplateBytes)
        throw ETemplateError(QStringLiteral("报表模板太大（%1 字节）").arg(file.size()));
    // Read up to the limit plus one byte, so a file that grew meanwhile is still caught.
    const QByteArray bytes = file.read(kMaxTemplateBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw EInOutError(QStringLiteral("无法读取文件“%1”：%2").arg(shown, file.errorString()));
    if (bytes.size() > kMaxTemplateBytes)
        throw ETemplateError(QStringLiteral("报表模板太大（%1 字节）").arg(bytes.size()));
    return bytes;
}

void writeTemplateFile(const QString& fileName, const TemplateDocument& doc)
{
    qx::saveFile(fileName, writeTemplate(doc));
}

} // namespace qx::tpl
