// What the template designer edits: a copy of the template, the selection, and the undo and
// redo history. Every change goes through here and can be undone; the window only draws the
// model and turns mouse and keys into these calls.
#pragma once

#include "platform/template/Template.h"

#include <QList>
#include <QPoint>

#include <vector>

namespace qx::tpl {

// A selected object: its band and its place in the band's list.
struct ObjectRef
{
    int band = -1;
    int object = -1;
    bool operator==(const ObjectRef&) const = default;
};

class DesignerModel
{
public:
    // The grid objects snap to, in report units (2.5 mm).
    static constexpr int kGrid = 25;

    explicit DesignerModel(TemplateDocument doc = TemplateDocument());

    const TemplateDocument& document() const { return m_doc; }

    // Page set-up: paper, orientation (the width and length of a table paper follow it) and
    // margins; false when nothing changed.
    bool setPage(const TemplatePage& page);

    // ---- bands ---------------------------------------------------------------------------
    // Adds a band at the end (or before `at`); returns its index.
    int addBand(BandKind kind, const QString& dataSet = QString(), int at = -1);
    void removeBand(int index);
    // Moves a band one place up (-1) or down (+1); false when it cannot move.
    bool moveBand(int index, int delta);
    void setBandHeight(int index, int height);
    void setBandDataSet(int index, const QString& dataSet);
    void setBandExpression(int index, const QString& group, const QString& expression);

    // ---- objects -------------------------------------------------------------------------
    // Places an object of the kind with its top left corner at pos (report units, snapped)
    // on the band and selects it alone.
    ObjectRef addObject(int band, ObjectKind kind, QPoint pos, const QString& dataSet = QString(),
                        const QString& field = QString());
    // The same with a ready object (its place is taken from pos).
    ObjectRef addObject(int band, TemplateObject o, QPoint pos);
    // A new object of the kind with its default size.
    static TemplateObject newObject(ObjectKind kind);
    const TemplateObject* object(ObjectRef ref) const;
    // Replaces an object (a property change); false for an unknown one or no change.
    bool setObject(ObjectRef ref, const TemplateObject& changed);

    // ---- selection -----------------------------------------------------------------------
    const QList<ObjectRef>& selection() const { return m_selection; }
    void select(ObjectRef ref, bool add = false);
    void clearSelection() { m_selection.clear(); }
    // Moves (or resizes) every selected object by dx, dy report units, snapping the result to
    // the grid; one step of the history.
    void moveSelection(int dx, int dy);
    void resizeSelection(int dw, int dh);
    void deleteSelection();
    // The selected objects are kept for paste; paste puts copies on the band of the first
    // selected object (or `band`), one grid step down and right, and selects them.
    void copySelection();
    void paste(int band);
    bool canPaste() const { return !m_clipboard.isEmpty(); }

    // ---- history -------------------------------------------------------------------------
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    void undo();
    void redo();

    static int snap(int value) { return (value >= 0 ? value + kGrid / 2 : value - kGrid / 2) / kGrid * kGrid; }

private:
    // Keeps the document as it is now for undo; called before every change.
    void remember();
    TemplateObject* mutableObject(ObjectRef ref);
    void dropInvalidSelection();

    TemplateDocument m_doc;
    QList<ObjectRef> m_selection;
    QList<TemplateObject> m_clipboard;
    std::vector<TemplateDocument> m_undo;
    std::vector<TemplateDocument> m_redo;
};

} // namespace qx::tpl
