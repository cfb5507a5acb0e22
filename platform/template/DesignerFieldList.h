// The list of the offered datasets' fields in the template designer. A double click places a
// field (the window connects it); dragging an entry carries the field to the page as mime
// data of our own type, which the page takes when it is dropped on a band.
#pragma once

#include <QListWidget>
#include <QString>

class QMimeData;

namespace qx::tpl {

struct DraggedField
{
    QString dataSet;
    QString field;
};

class DesignerFieldList : public QListWidget
{
    Q_OBJECT

public:
    // The mime type a dragged field travels as.
    static QString mimeType() { return QStringLiteral("application/x-repairshop-template-field"); }

    explicit DesignerFieldList(QWidget* parent = nullptr);

    // Adds the entry "Dataset.Field".
    void addField(const QString& dataSet, const QString& field);
    // The dataset and field of an entry.
    static DraggedField fieldOf(const QListWidgetItem* item);

    // The mime data a drag of these entries carries (the first entry's field); nullptr for none.
    QMimeData* fieldMimeData(const QList<QListWidgetItem*>& items) const;
    // The field a mime data carries; false when it carries none (or a damaged one).
    static bool fieldFromMime(const QMimeData* mime, DraggedField& out);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
};

} // namespace qx::tpl
