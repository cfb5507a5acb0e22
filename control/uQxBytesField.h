// TBytesField: a fixed-size byte-array result field. Stored definitions written with their
// result fields may carry one; the reader must know the class to read such an image, though
// the field itself is dropped with the component read.
#pragma once

#include "platform/db/Fields.h"

class TBytesField : public TBlobField
{
    Q_OBJECT
public:
    using TBlobField::TBlobField;
    TFieldType DataType() const override { return ftBytes; }
};
