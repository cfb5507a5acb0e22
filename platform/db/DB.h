// The vocabulary shared by datasets, fields, data sources and links: states, field types,
// data events, locate options and bookmarks, with the VCL's names so that forms read as they
// were written.
#pragma once

#include "platform/rtl/Exceptions.h"

#include <QByteArray>
#include <QFlags>
#include <QString>

class TDataSet;
class TField;
class TFields;
class TFieldDef;
class TFieldDefs;
class TDataSource;
class TDataLink;

enum TDataSetState {
    dsInactive,
    dsBrowse,
    dsEdit,
    dsInsert,
    dsSetKey,
    dsCalcFields,
    dsFilter,
    dsNewValue,
    dsOldValue,
    dsCurValue,
    dsBlockRead,
    dsInternalCalc,
    dsOpening
};

enum TFieldType {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftBytes,
    ftVarBytes,
    ftAutoInc,
    ftBlob,
    ftMemo,
    ftGraphic,
    ftFmtMemo,
    ftParadoxOle,
    ftDBaseOle,
    ftTypedBinary,
    ftCursor,
    ftFixedChar,
    ftWideString,
    ftLargeint,
    ftADT,
    ftArray,
    ftReference,
    ftDataSet
};

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc };

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// What a dataset tells its data sources and, through them, its links.
enum TDataEvent {
    deFieldChange,
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
    dePropertyChange,
    deFieldListChange,
    deFocusControl
};

enum TLocateOption { loCaseInsensitive = 1, loPartialKey = 2 };
Q_DECLARE_FLAGS(TLocateOptions, TLocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLocateOptions)

// What an OnPostError (or delete/edit error) handler decides.
enum TDataAction { daFail, daAbort, daRetry };

// A bookmark is an opaque byte string; an empty one marks "no record". Bookmarks of one
// dataset compare in a total order (TDataSet::CompareBookmarks).
using TBookmark = QByteArray;
using TBookmarkStr = QByteArray;

// Raises EDatabaseError with the text; used by every dataset error so the guard shows it.
[[noreturn]] void DatabaseError(const QString& message);

// True for the types whose values are held as text.
bool IsStringFieldType(TFieldType t);
// True for blob-like types (memo, blob, graphic...).
bool IsBlobFieldType(TFieldType t);
// The type's name as written into structure files ("String", "Integer"...), and back.
QString FieldTypeName(TFieldType t);
TFieldType FieldTypeFromName(const QString& name); // ftUnknown when the name is not known
