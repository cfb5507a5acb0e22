// Fields: the typed view of one column of a dataset's current record, and the list a dataset
// keeps of them. A field converts between the forms forms and reports use (text, numbers,
// money, dates, variants) and the one form its dataset's record store holds.
//
// Variants (AsVariant, Value): null is an invalid QVariant; text is QString, integers int
// (qlonglong for Largeint), floats, money and BCD double, Booleans bool, dates QDateTime,
// blobs QByteArray, memos QString.
#pragma once

#include "platform/db/DB.h"
#include "platform/db/RecordStore.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"

#include <QIODevice>
#include <QObject>
#include <QPointer>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class TField : public QObject
{
    Q_OBJECT
    Q_PROPERTY(TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(QString DisplayLabel READ DisplayLabel WRITE SetDisplayLabel)
    Q_PROPERTY(int DisplayWidth READ DisplayWidth WRITE SetDisplayWidth)
    Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)
    Q_PROPERTY(TFieldKind FieldKind READ FieldKind WRITE SetFieldKind)
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(int Index READ Index WRITE SetIndex)
    Q_PROPERTY(QString KeyFields READ KeyFields WRITE SetKeyFields)
    Q_PROPERTY(QString LookupKeyFields READ LookupKeyFields WRITE SetLookupKeyFields)
    Q_PROPERTY(QString LookupResultField READ LookupResultField WRITE SetLookupResultField)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool Required READ Required WRITE SetRequired)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TField(QObject* owner = nullptr);
    ~TField() override;

    // The dataset the field belongs to; setting it adds the field to that dataset's list
    // (only while the dataset is closed).
    TDataSet* DataSet() const { return m_dataSet; }
    void SetDataSet(TDataSet* dataSet);

    virtual TFieldType DataType() const = 0;
    // How the record store holds the field's values.
    virtual qx::RecordStore::Kind StorageKind() const = 0;

    QString FieldName() const { return m_fieldName; }
    void SetFieldName(const QString& name);
    QString FullName() const { return m_fieldName; }
    QString DisplayLabel() const { return m_displayLabel.isEmpty() ? m_fieldName : m_displayLabel; }
    void SetDisplayLabel(const QString& label);
    QString DisplayName() const { return DisplayLabel(); }
    int DisplayWidth() const;
    void SetDisplayWidth(int width);
    QString DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const QString& format);
    QString EditFormat() const { return m_editFormat; }
    void SetEditFormat(const QString& format);
    QString EditMask() const { return m_editMask; }
    void SetEditMask(const QString& mask) { m_editMask = mask; }
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment a);
    bool Visible() const { return m_visible; }
    void SetVisible(bool v);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool v) { m_readOnly = v; }
    bool Required() const { return m_required; }
    void SetRequired(bool v) { m_required = v; }
    // Characters for text fields; a longer text is cut to Size when assigned.
    int Size() const { return m_size; }
    void SetSize(int size);
    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    // The place in the dataset's field list; setting it moves the field and tells the links.
    int Index() const;
    void SetIndex(int index);
    // The column of the record store behind a data field; -1 for calculated and lookup fields
    // and before the dataset is open.
    int FieldNo() const { return m_column + 1; }

    TFieldKind FieldKind() const { return m_fieldKind; }
    void SetFieldKind(TFieldKind kind);
    bool Calculated() const { return m_fieldKind == fkCalculated || m_fieldKind == fkInternalCalc; }
    bool Lookup() const { return m_fieldKind == fkLookup; }
    QString KeyFields() const { return m_keyFields; }
    void SetKeyFields(const QString& v) { m_keyFields = v; }
    TDataSet* LookupDataSet() const { return m_lookupDataSet; }
    void SetLookupDataSet(TDataSet* ds);
    QString LookupKeyFields() const { return m_lookupKeyFields; }
    void SetLookupKeyFields(const QString& v) { m_lookupKeyFields = v; }
    QString LookupResultField() const { return m_lookupResultField; }
    void SetLookupResultField(const QString& v) { m_lookupResultField = v; }

    // Values of the record being read (the current one, or the one a data link made active).
    bool IsNull() const;
    void Clear();
    QString AsString() const { return GetAsString(); }
    void SetAsString(const QString& v) { SetAsStringImpl(v); }
    int AsInteger() const { return GetAsInteger(); }
    void SetAsInteger(int v) { SetAsIntegerImpl(v); }
    double AsFloat() const { return GetAsFloat(); }
    void SetAsFloat(double v) { SetAsFloatImpl(v); }
    Currency AsCurrency() const { return GetAsCurrency(); }
    void SetAsCurrency(Currency v) { SetAsCurrencyImpl(v); }
    bool AsBoolean() const { return GetAsBoolean(); }
    void SetAsBoolean(bool v) { SetAsBooleanImpl(v); }
    TDateTime AsDateTime() const { return GetAsDateTime(); }
    void SetAsDateTime(TDateTime v) { SetAsDateTimeImpl(v); }
    QVariant AsVariant() const { return GetAsVariant(); }
    void SetAsVariant(const QVariant& v) { SetAsVariantImpl(v); }
    QVariant Value() const { return GetAsVariant(); }
    void SetValue(const QVariant& v) { SetAsVariantImpl(v); }
    QByteArray AsBytes() const;
    void SetAsBytes(const QByteArray& v);

    // Edit text and display text. OnGetText replaces both when assigned; setting Text runs
    // OnSetText when assigned (setting Value never does).
    QString Text() const;
    void SetText(const QString& text);
    QString DisplayText() const;
    bool HasOnGetText() const { return bool(OnGetText); }
    bool HasOnSetText() const { return bool(OnSetText); }

    // Whether a typed character fits the field's kind (digits for integers...).
    virtual bool IsValidChar(QChar ch) const;
    // Asks the dataset's controls to put the focus on the control showing this field.
    void FocusControl();
    // The field can take a value now: not read-only, and its dataset can be modified.
    bool CanModify() const;
    bool IsBlob() const { return IsBlobFieldType(DataType()); }

    // Converts a variant to the store's form for this field; raises EConvertError for a value
    // the field cannot take. An invalid variant stays null.
    virtual QVariant ToCell(const QVariant& v) const;
    // The variant form (see the top of this file) of a store value.
    virtual QVariant FromCell(const QVariant& cell) const;

    std::function<void(TField* Sender, QString& Text, bool DisplayText)> OnGetText;
    std::function<void(TField* Sender, const QString& Text)> OnSetText;
    std::function<void(TField* Sender)> OnChange;
    std::function<void(TField* Sender)> OnValidate;

protected:
    virtual QString GetAsString() const;
    virtual void SetAsStringImpl(const QString& v);
    virtual int GetAsInteger() const;
    virtual void SetAsIntegerImpl(int v);
    virtual double GetAsFloat() const;
    virtual void SetAsFloatImpl(double v);
    virtual Currency GetAsCurrency() const;
    virtual void SetAsCurrencyImpl(Currency v);
    virtual bool GetAsBoolean() const;
    virtual void SetAsBooleanImpl(bool v);
    virtual TDateTime GetAsDateTime() const;
    virtual void SetAsDateTimeImpl(TDateTime v);
    virtual QVariant GetAsVariant() const;
    virtual void SetAsVariantImpl(const QVariant& v);
    // Builds the edit (displayText false) or display text from the value.
    virtual void GetText(QString& text, bool displayText) const;
    virtual int DefaultWidth() const { return 10; }

    // The store value of the record being read, and assigning one (checks and events).
    QVariant Cell() const;
    void SetCell(const QVariant& cell);
    [[noreturn]] void ConversionError(const QString& typeName) const;

private:
    friend class TDataSet;
    friend class TFields;

    QPointer<TDataSet> m_dataSet;
    QString m_fieldName;
    QString m_displayLabel;
    QString m_displayFormat;
    QString m_editFormat;
    QString m_editMask;
    QString m_keyFields;
    QString m_lookupKeyFields;
    QString m_lookupResultField;
    QPointer<TDataSet> m_lookupDataSet;
    TFieldKind m_fieldKind = fkData;
    TAlignment m_alignment = taLeftJustify;
    int m_displayWidth = 0;
    int m_size = 0;
    int m_tag = 0;
    int m_column = -1;    // store column of a data field while open
    int m_calcIndex = -1; // slot in the calculated-value buffer of calculated and lookup fields
    bool m_visible = true;
    bool m_readOnly = false;
    bool m_required = false;
};

class TStringField : public TField
{
    Q_OBJECT
public:
    explicit TStringField(QObject* owner = nullptr);
    TFieldType DataType() const override { return ftString; }
    qx::RecordStore::Kind StorageKind() const override { return qx::RecordStore::Kind::Text; }
    QVariant ToCell(const QVariant& v) const override;

protected:
    QString GetAsString() const override;
    void SetAsStringImpl(const QString& v) override;
    int GetAsInteger() const override;
    double GetAsFloat() const override;
    Currency GetAsCurrency() const override;
    bool GetAsBoolean() const override;
    void SetAsBooleanImpl(bool v) override;
    TDateTime GetAsDateTime() const override;
    int DefaultWidth() const override { return Size() > 0 ? Size() : 20; }
};

class TWideStringField : public TStringField
{
    Q_OBJECT
public:
    using TStringField::TStringField;
    TFieldType DataType() const override { return ftWideString; }
};

// Integers: TSmallintField, TIntegerField, TWordField and TAutoIncField hold 32-bit values
// within their own range; TLargeintField 64-bit ones.
class TIntegerField : public TField
{
    Q_OBJECT
public:
    explicit TIntegerField(QObject* owner = nullptr);
    TFieldType DataType() const override { return ftInteger; }
    qx::RecordStore::Kind StorageKind() const override { return qx::RecordStore::Kind::Int32; }
    QVariant ToCell(const QVariant& v) const override;
    bool IsValidChar(QChar ch) const override;
    virtual qint64 MinValue() const { return INT32_MIN; }
    virtual qint64 MaxValue() const { return INT32_MAX; }

protected:
    QString GetAsString() const override;
    void SetAsStringImpl(const QString& v) override;
    int GetAsInteger() const override;
    double GetAsFloat() const override;
    void GetText(QString& text, bool displayText) const override;
};

class TSmallintField : public TIntegerField
{
    Q_OBJECT
public:
    using TIntegerField::TIntegerField;
    TFieldType DataType() const override { return ftSmallint; }
    qint64 MinValue() const override { return -32768; }
    qint64 MaxValue() const override { return 32767; }
};

class TWordField : public TIntegerField
{
    Q_OBJECT
public:
    using TIntegerField::TIntegerField;
    TFieldType DataType() const override { return ftWord; }
    qint64 MinValue() const override { return 0; }
    qint64 MaxValue() const override { return 65535; }
};

// An automatically numbered key: when a new record is posted without a value, the dataset
// gives it the next number.
class TAutoIncField : public TIntegerField
{
    Q_OBJECT
public:
    using TIntegerField::TIntegerField;
    TFieldType DataType() const override { return ftAutoInc; }
};

class TLargeintField : public TField
{
    Q_OBJECT
public:
    explicit TLargeintField(QObject* owner = nullptr);
    TFieldType DataType() const override { return ftLargeint; }
    qx::RecordStore::Kind StorageKind() const override { return qx::RecordStore::Kind::Int64; }
    QVariant ToCell(const QVariant& v) const override;
    QVariant FromCell(const QVariant& cell) const override;
    bool IsValidChar(QChar ch) const override;
    qint64 AsLargeInt() const;
    void SetAsLargeInt(qint64 v);

protected:
    QString GetAsString() const override;
    void SetAsStringImpl(const QString& v) override;
    int GetAsInteger() const override;
    double GetAsFloat() const override;
    void GetText(QString& text, bool displayText) const override;
};

// Floating-point numbers. With Currency set, the display text is money ("0.00") when no
// DisplayFormat is given.
class TFloatField : public TField
{
    Q_OBJECT
    Q_PROPERTY(bool currency READ IsCurrency WRITE SetCurrency)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
public:
    explicit TFloatField(QObject* owner = nullptr);
    TFieldType DataType() const override { return ftFloat; }
    qx::RecordStore::Kind StorageKind() const override { return qx::RecordStore::Kind::Double; }
    QVariant ToCell(const QVariant& v) const override;
    bool IsValidChar(QChar ch) const override;
    bool IsCurrency() const { return m_currency; }
    void SetCurrency(bool v);
    int Precision() const { return m_precision; }
    void SetPrecision(int v) { m_precision = v; }

protected:
    QString GetAsString() const override;
    void SetAsStringImpl(const QString& v) override;
    int GetAsInteger() const override;
    double GetAsFloat() const override;
    Currency GetAsCurrency() const override;
    void GetText(QString& text, bool displayText) const override;

private:
    bool m_currency = false;
    int m_precision = 15;
};

// Money held exactly, as ten-thousandths (the run-time library's Currency).
class TCurrencyField : public TFloatField
{
    Q_OBJECT
public:
    explicit TCurrencyField(QObject* owner = nullptr);
    TFieldType DataType() const override { return ftCurrency; }
    qx::RecordStore::Kind StorageKind() const override { return qx::RecordStore::Kind::Int64; }
    QVariant ToCell(const QVariant& v) const override;
    QVariant FromCell(const QVariant& cell) const override;

protected:
    QString GetAsString() const override;
    void SetAsStringImpl(const QString& v) override;
    double GetAsFloat() const override;
    Currency GetAsCurrency() const override;
    void SetAsCurrencyImpl(Currency v) override;
    void GetText(QString& text, bool displayText) const override;
};

// Decimal numbers with up to four decimals, held exactly like money.
class TBCDField : public TCurrencyField
{
    Q_OBJECT
public:
    explicit TBCDField(QObject* owner = nullptr);
    TFieldType DataType() const override { return ftBCD; }
};

class TBooleanField : public TField
{
    Q_OBJECT
    Q_PROPERTY(QString DisplayValues READ DisplayValues WRITE SetDisplayValues)
public:
    explicit TBooleanField(QObject* owner = nullptr);
    TFieldType DataType() const override { return ftBoolean; }
    qx::RecordStore::Kind StorageKind() const override { return qx::RecordStore::Kind::Bool; }
    QVariant ToCell(const QVariant& v) const override;
    // "True;False" by default: the texts for true and false.
    QString DisplayValues() const { return m_displayValues; }
    void SetDisplayValues(const QString& v);

protected:
    QString GetAsString() const override;
    void SetAsStringImpl(const QString& v) override;
    bool GetAsBoolean() const override;
    int GetAsInteger() const override;
    void GetText(QString& text, bool displayText) const override;
    int DefaultWidth() const override { return 5; }

private:
    QString m_displayValues = QStringLiteral("True;False");
    QString m_trueText = QStringLiteral("True");
    QString m_falseText = QStringLiteral("False");
};

// Date and time values (TDateTime, days since 1899-12-30). Without DisplayFormat a date shows
// in the short date format, a time in the long time format, a date-time as both (the time
// left out at midnight).
class TDateTimeField : public TField
{
    Q_OBJECT
public:
    explicit TDateTimeField(QObject* owner = nullptr);
    TFieldType DataType() const override { return ftDateTime; }
    qx::RecordStore::Kind StorageKind() const override { return qx::RecordStore::Kind::Double; }
    QVariant ToCell(const QVariant& v) const override;
    QVariant FromCell(const QVariant& cell) const override;

protected:
    QString GetAsString() const override;
    void SetAsStringImpl(const QString& v) override;
    double GetAsFloat() const override;
    TDateTime GetAsDateTime() const override;
    void GetText(QString& text, bool displayText) const override;
    int DefaultWidth() const override { return 18; }
    virtual QString FormatValue(TDateTime v, const QString& format) const;
    virtual TDateTime ParseText(const QString& text) const;
};

class TDateField : public TDateTimeField
{
    Q_OBJECT
public:
    using TDateTimeField::TDateTimeField;
    TFieldType DataType() const override { return ftDate; }
    // A date alone fits in a whole number of days.
    qx::RecordStore::Kind StorageKind() const override { return qx::RecordStore::Kind::Int32; }
    QVariant ToCell(const QVariant& v) const override;

protected:
    QString FormatValue(TDateTime v, const QString& format) const override;
    TDateTime ParseText(const QString& text) const override;
    int DefaultWidth() const override { return 10; }
};

class TTimeField : public TDateTimeField
{
    Q_OBJECT
public:
    using TDateTimeField::TDateTimeField;
    TFieldType DataType() const override { return ftTime; }
    QVariant ToCell(const QVariant& v) const override;

protected:
    QString FormatValue(TDateTime v, const QString& format) const override;
    TDateTime ParseText(const QString& text) const override;
    int DefaultWidth() const override { return 8; }
};

// Binary large objects. Streams read and write the bytes (TDataSet::CreateBlobStream).
class TBlobField : public TField
{
    Q_OBJECT
public:
    explicit TBlobField(QObject* owner = nullptr);
    TFieldType DataType() const override { return ftBlob; }
    qx::RecordStore::Kind StorageKind() const override { return qx::RecordStore::Kind::Blob; }
    QVariant ToCell(const QVariant& v) const override;
    int BlobSize() const;
    void LoadFromStream(QIODevice& stream);
    void SaveToStream(QIODevice& stream) const;
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;

protected:
    QString GetAsString() const override;
    void SetAsStringImpl(const QString& v) override;
    void GetText(QString& text, bool displayText) const override;
};

// Long text. Held as text; its display text is "(MEMO)" as data grids show it.
class TMemoField : public TBlobField
{
    Q_OBJECT
public:
    explicit TMemoField(QObject* owner = nullptr);
    TFieldType DataType() const override { return ftMemo; }
    qx::RecordStore::Kind StorageKind() const override { return qx::RecordStore::Kind::Text; }
    QVariant ToCell(const QVariant& v) const override;
    QVariant FromCell(const QVariant& cell) const override;

protected:
    QString GetAsString() const override;
    void SetAsStringImpl(const QString& v) override;
    void GetText(QString& text, bool displayText) const override;
};

class TGraphicField : public TBlobField
{
    Q_OBJECT
public:
    using TBlobField::TBlobField;
    TFieldType DataType() const override { return ftGraphic; }
};

// A field of the given type, owned by owner; nullptr for a type no field class holds.
TField* CreateFieldOfType(TFieldType type, QObject* owner);

// The fields of a dataset in their display order. The list does not own its fields: default
// fields belong to the dataset, persistent fields to whoever made them.
class TFields
{
public:
    explicit TFields(TDataSet* dataSet) : m_dataSet(dataSet) {}
    int Count() const { return int(m_list.size()); }
    TField* Fields(int index) const;
    TField* operator[](int index) const { return Fields(index); }
    // Without case; FieldByName raises "Field 'X' not found".
    TField* FindField(const QString& name) const;
    TField* FieldByName(const QString& name) const;
    int IndexOf(const TField* field) const;
    void Add(TField* field);
    void Remove(TField* field);
    void Clear() { m_list.clear(); }
    TDataSet* DataSet() const { return m_dataSet; }
    std::vector<TField*>::const_iterator begin() const { return m_list.begin(); }
    std::vector<TField*>::const_iterator end() const { return m_list.end(); }

private:
    friend class TField;
    friend class TDataSet;
    TDataSet* m_dataSet;
    std::vector<TField*> m_list;
};
