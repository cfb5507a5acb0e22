#include "platform/template/Template.h"

#include <array>
#include <utility>

namespace qx::tpl {

namespace {

template <typename E, std::size_t N>
bool fromName(const std::array<std::pair<E, const char*>, N>& table, const QString& name, E& out)
{
    for (const auto& [value, text] : table) {
        if (name == QLatin1String(text)) {
            out = value;
            return true;
        }
    }
    return false;
}

template <typename E, std::size_t N>
QString toName(const std::array<std::pair<E, const char*>, N>& table, E value)
{
    for (const auto& [v, text] : table) {
        if (v == value)
            return QLatin1String(text);
    }
    return QString();
}

constexpr std::array<std::pair<BandKind, const char*>, 11> kBandNames{{
    {BandKind::Title, "title"},
    {BandKind::PageHeader, "pageHeader"},
    {BandKind::PageFooter, "pageFooter"},
    {BandKind::Master, "master"},
    {BandKind::DetailHeader, "detailHeader"},
    {BandKind::Detail, "detail"},
    {BandKind::DetailFooter, "detailFooter"},
    {BandKind::GroupHeader, "groupHeader"},
    {BandKind::GroupFooter, "groupFooter"},
    {BandKind::Summary, "summary"},
    {BandKind::Child, "child"},
}};

constexpr std::array<std::pair<ObjectKind, const char*>, 5> kObjectNames{{
    {ObjectKind::Text, "text"},
    {ObjectKind::Field, "field"},
    {ObjectKind::Line, "line"},
    {ObjectKind::Rectangle, "rectangle"},
    {ObjectKind::Picture, "picture"},
}};

constexpr std::array<std::pair<TextAlign, const char*>, 3> kAlignNames{{
    {TextAlign::Left, "left"},
    {TextAlign::Center, "center"},
    {TextAlign::Right, "right"},
}};

} // namespace

QString bandKindName(BandKind kind)
{
    return toName(kBandNames, kind);
}

bool bandKindFromName(const QString& name, BandKind& out)
{
    return fromName(kBandNames, name, out);
}

QString objectKindName(ObjectKind kind)
{
    return toName(kObjectNames, kind);
}

bool objectKindFromName(const QString& name, ObjectKind& out)
{
    return fromName(kObjectNames, name, out);
}

QString alignName(TextAlign align)
{
    return toName(kAlignNames, align);
}

bool alignFromName(const QString& name, TextAlign& out)
{
    return fromName(kAlignNames, name, out);
}

QString masterDataSetName()
{
    return QStringLiteral("Mstdataset");
}

QString detailDataSetName(int n)
{
    return QStringLiteral("DltDataset%1").arg(n);
}

} // namespace qx::tpl
