#include "platform/template/DesignerModel.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace qx::tpl {

namespace {

constexpr std::size_t kHistory = 200;

} // namespace

TemplateObject DesignerModel::newObject(ObjectKind kind)
{
    TemplateObject o;
    o.kind = kind;
    switch (kind) {
    case ObjectKind::Text:
    case ObjectKind::Field:
        o.width = 300;
        o.height = 50;
        break;
    case ObjectKind::Line:
        o.width = 500;
        o.height = 0;
        break;
    case ObjectKind::Rectangle:
    case ObjectKind::Picture:
        o.width = 300;
        o.height = 200;
        break;
    }
    return o;
}

DesignerModel::DesignerModel(TemplateDocument doc) : m_doc(std::move(doc)) {}

void DesignerModel::remember()
{
    m_undo.push_back(m_doc);
    if (m_undo.size() > kHistory)
        m_undo.erase(m_undo.begin());
    m_redo.clear();
}

void DesignerModel::undo()
{
    if (m_undo.empty())
        return;
    m_redo.push_back(std::move(m_doc));
    m_doc = std::move(m_undo.back());
    m_undo.pop_back();
    dropInvalidSelection();
}

void DesignerModel::redo()
{
    if (m_redo.empty())
        return;
    m_undo.push_back(std::move(m_doc));
    m_doc = std::move(m_redo.back());
    m_redo.pop_back();
    dropInvalidSelection();
}

void DesignerModel::dropInvalidSelection()
{
    m_selection.removeIf([this](const ObjectRef& r) { return object(r) == nullptr; });
}

bool DesignerModel::setPage(const TemplatePage& page)
{
    TemplatePage p = page;
    qx::report::PaperDimensions mm;
    if (qx::report::orientedPaperDimensions(p.paper, p.orientation == Orientation::Landscape ? poLandscape : poPortrait, mm)) {
        p.width = int(std::lround(mm.widthMm * 10));
        p.length = int(std::lround(mm.lengthMm * 10));
    }
    p.width = std::clamp(p.width, 1, kMaxLength);
    p.length = std::clamp(p.length, 1, kMaxLength);
    if (p.leftMargin + p.rightMargin >= p.width || p.topMargin + p.bottomMargin >= p.length || p == m_doc.page)
        return false;
    remember();
    m_doc.page = p;
    return true;
}

int DesignerModel::addBand(BandKind kind, const QString& dataSet, int at)
{
    remember();
    TemplateBand b;
    b.kind = kind;
    b.dataSet = dataSet;
    if (kind == BandKind::Master && dataSet.isEmpty())
        b.dataSet = masterDataSetName();
    const int index = at < 0 || at > m_doc.bands.size() ? int(m_doc.bands.size()) : at;
    m_doc.bands.insert(index, b);
    m_selection.clear();
    return index;
}

void DesignerModel::removeBand(int index)
{
    if (index < 0 || index >= m_doc.bands.size())
        return;
    remember();
    m_doc.bands.removeAt(index);
    m_selection.clear();
}

bool DesignerModel::moveBand(int index, int delta)
{
    const int to = index + delta;
    if (index < 0 || index >= m_doc.bands.size() || to < 0 || to >= m_doc.bands.size() || delta == 0)
        return false;
    remember();
    m_doc.bands.move(index, to);
    m_selection.clear();
    return true;
}

void DesignerModel::setBandHeight(int index, int height)
{
    if (index < 0 || index >= m_doc.bands.size())
        return;
    height = std::clamp(height, 0, kMaxLength);
    if (m_doc.bands[index].height == height)
        return;
    remember();
    m_doc.bands[index].height = height;
}

void DesignerModel::setBandDataSet(int index, const QString& dataSet)
{
    if (index < 0 || index >= m_doc.bands.size() || m_doc.bands[index].dataSet == dataSet)
        return;
    remember();
    m_doc.bands[index].dataSet = dataSet;
}

void DesignerModel::setBandExpression(int index, const QString& group, const QString& expression)
{
    if (index < 0 || index >= m_doc.bands.size())
        return;
    TemplateBand& b = m_doc.bands[index];
    if (b.group == group && b.expression == expression)
        return;
    remember();
    m_doc.bands[index].group = group;
    m_doc.bands[index].expression = expression;
}

ObjectRef DesignerModel::addObject(int band, ObjectKind kind, QPoint pos, const QString& dataSet,
                                   const QString& field)
{
    TemplateObject o = newObject(kind);
    o.dataSet = dataSet;
    o.field = field;
    return addObject(band, std::move(o), pos);
}

ObjectRef DesignerModel::addObject(int band, TemplateObject o, QPoint pos)
{
    if (band < 0 || band >= m_doc.bands.size())
        return ObjectRef();
    remember();
    o.left = snap(pos.x());
    o.top = snap(pos.y());
    m_doc.bands[band].objects.append(o);
    const ObjectRef ref{band, int(m_doc.bands[band].objects.size() - 1)};
    m_selection = {ref};
    return ref;
}

const TemplateObject* DesignerModel::object(ObjectRef ref) const
{
    if (ref.band < 0 || ref.band >= m_doc.bands.size())
        return nullptr;
    const QList<TemplateObject>& objects = m_doc.bands.at(ref.band).objects;
    return ref.object >= 0 && ref.object < objects.size() ? &objects.at(ref.object) : nullptr;
}

TemplateObject* DesignerModel::mutableObject(ObjectRef ref)
{
    return object(ref) ? &m_doc.bands[ref.band].objects[ref.object] : nullptr;
}

bool DesignerModel::setObject(ObjectRef ref, const TemplateObject& changed)
{
    const TemplateObject* o = object(ref);
    if (!o || *o == changed)
        return false;
    remember();
    *mutableObject(ref) = changed;
    return true;
}

void DesignerModel::select(ObjectRef ref, bool add)
{
    if (!object(ref))
        return;
    if (!add)
        m_selection.clear();
    if (!m_selection.contains(ref))
        m_selection.append(ref);
}

void DesignerModel::moveSelection(int dx, int dy)
{
    if (m_selection.isEmpty() || (dx == 0 && dy == 0))
        return;
    remember();
    for (const ObjectRef& r : std::as_const(m_selection)) {
        TemplateObject* o = mutableObject(r);
        o->left = std::clamp(snap(o->left + dx), -kMaxLength, kMaxLength);
        o->top = std::clamp(snap(o->top + dy), -kMaxLength, kMaxLength);
    }
}

void DesignerModel::resizeSelection(int dw, int dh)
{
    if (m_selection.isEmpty() || (dw == 0 && dh == 0))
        return;
    remember();
    for (const ObjectRef& r : std::as_const(m_selection)) {
        TemplateObject* o = mutableObject(r);
        o->width = std::clamp(snap(o->width + dw), 0, kMaxLength);
        o->height = std::clamp(snap(o->height + dh), 0, kMaxLength);
    }
}

void DesignerModel::deleteSelection()
{
    if (m_selection.isEmpty())
        return;
    remember();
    QList<ObjectRef> doomed = m_selection;
    // From the back of each band, so the places of the others stay right.
    std::sort(doomed.begin(), doomed.end(), [](const ObjectRef& a, const ObjectRef& b) {
        return a.band != b.band ? a.band > b.band : a.object > b.object;
    });
    for (const ObjectRef& r : doomed)
        m_doc.bands[r.band].objects.removeAt(r.object);
    m_selection.clear();
}

void DesignerModel::copySelection()
{
    m_clipboard.clear();
    for (const ObjectRef& r : std::as_const(m_selection)) {
        if (const TemplateObject* o = object(r))
            m_clipboard.append(*o);
    }
}

void DesignerModel::paste(int band)
{
    if (m_clipboard.isEmpty())
        return;
    if (!m_selection.isEmpty())
        band = m_selection.first().band;
    if (band < 0 || band >= m_doc.bands.size())
        return;
    remember();
    m_selection.clear();
    for (TemplateObject o : std::as_const(m_clipboard)) {
        o.left = std::min(o.left + kGrid, kMaxLength);
        o.top = std::min(o.top + kGrid, kMaxLength);
        m_doc.bands[band].objects.append(o);
        m_selection.append({band, int(m_doc.bands[band].objects.size() - 1)});
    }
}

} // namespace qx::tpl
