// Column layout files (".dbg"): a data grid's column collection kept as one component image
// whose only object is a TQxColumnsWrapper. The image is the one form files use for a grid's
// columns, so a layout file can be compared with, and read like, the columns of a form.
//
// File layout: "TPF0", the class name TQxColumnsWrapper, an empty name, the property Columns
// with the collection (one list per column: its written properties, then an end byte), the
// end of the wrapper's properties and the end of its children. A column writes its values
// under the rules of its own published properties (defaults are left out); its fonts as
// Font.Charset, Font.Color, Font.Height, Font.Name and Font.Style, its picture as Glyph.Data.
#pragma once

#include "usystem/vcl/dbgrid/uQxDBGrid.h"

#include <QObject>
#include <QPointer>

class QIODevice;

class TQxColumnsWrapper : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TQxDBGridColumns* Columns READ Columns WRITE SetColumns)

public:
    explicit TQxColumnsWrapper(QObject* parent = nullptr);
    ~TQxColumnsWrapper() override;

    // The collection carried; not owned.
    TQxDBGridColumns* Columns() const { return FColumns; }
    void SetColumns(TQxDBGridColumns* value) { FColumns = value; }

    // Writes the image of the wrapper and its columns at the stream's position. A device that
    // refuses bytes raises EWriteError.
    void WriteToStream(QIODevice& Stream) const;
    // Reads an image at the stream's position and appends its columns to Columns. Anything
    // that is not such an image (a damaged file, a property a column does not have) raises
    // EReadError; the columns appended before the error stay.
    void ReadFromStream(QIODevice& Stream);

private:
    QPointer<TQxDBGridColumns> FColumns;
};

// The collection's layout on an open stream, at its position (the file operations of
// TQxDBGridColumns wrap these). Loading reads the whole image into a fresh collection of the
// same grid first and replaces the columns only after a complete read, so a damaged image
// leaves the columns as they were.
void SaveColumnsToStream(const TQxDBGridColumns& Columns, QIODevice& Stream);
void LoadColumnsFromStream(TQxDBGridColumns& Columns, QIODevice& Stream);
