#include "platform/ui/EditMask.h"

#include "platform/rtl/SysUtils.h"

namespace qx {

namespace {

// Characters that mean something in Qt's mask and must be escaped to stand for themselves.
bool isQtMaskSpecial(QChar c)
{
    static const QString specials = QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{};");
    return specials.contains(c);
}

void addLiteral(EditMaskInfo& info, QChar c)
{
    if (isQtMaskSpecial(c))
        info.qtMask += u'\\';
    info.qtMask += c;
    info.literalAt.append(true);
}

void addInput(EditMaskInfo& info, QChar qtCode)
{
    info.qtMask += qtCode;
    info.literalAt.append(false);
}

} // namespace

EditMaskInfo parseEditMask(const QString& mask)
{
    EditMaskInfo info;
    if (mask.isEmpty())
        return info;

    // Split off the fields at the first ';' that is not escaped.
    QString body = mask;
    int sep = -1;
    for (int i = 0; i < mask.size(); ++i) {
        if (mask.at(i) == u'\\') {
            ++i;
            continue;
        }
        if (mask.at(i) == u';') {
            sep = i;
            break;
        }
    }
    if (sep >= 0) {
        body = mask.left(sep);
        const QStringList fields = mask.mid(sep + 1).split(u';');
        if (!fields.isEmpty() && !fields.at(0).isEmpty())
            info.saveLiterals = fields.at(0).at(0) != u'0';
        if (fields.size() > 1 && !fields.at(1).isEmpty())
            info.blank = fields.at(1).at(0);
    }

    // ':' and '/' stand for the separators of the format settings ("hh:nn", "yyyy-mm-dd").
    const TFormatSettings& fs = FormatSettings();
    for (int i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        switch (c.unicode()) {
        case '\\':
            if (i + 1 < body.size())
                addLiteral(info, body.at(++i));
            break;
        case '>':
            info.qtMask += u'>';
            break;
        case '<':
            if (i + 1 < body.size() && body.at(i + 1) == u'>') {
                info.qtMask += u'!';
                ++i;
            } else {
                info.qtMask += u'<';
            }
            break;
        case '!':
            break;
        case 'L': addInput(info, u'A'); break;
        case 'l': addInput(info, u'a'); break;
        case 'A': addInput(info, u'N'); break;
        case 'a': addInput(info, u'n'); break;
        case 'C': addInput(info, u'X'); break;
        case 'c': addInput(info, u'x'); break;
        case '0': addInput(info, u'9'); break;
        case '9': addInput(info, u'0'); break;
        case '#': addInput(info, u'#'); break;
        case ':': addLiteral(info, fs.TimeSeparator); break;
        case '/': addLiteral(info, fs.DateSeparator); break;
        case '_': addLiteral(info, u' '); break;
        default: addLiteral(info, c); break;
        }
    }
    if (info.literalAt.isEmpty()) {
        // Only case markers: nothing to enter, treat as no mask.
        info.qtMask.clear();
        return info;
    }
    info.qtMask += u';';
    info.qtMask += info.blank;
    return info;
}

} // namespace qx
