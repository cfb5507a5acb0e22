// A dataset written as a dBASE III+ table: the table's fields come from the dataset's field
// definitions, and every record from the first to the end becomes one row.
//
// How each kind of field is written (see README.md):
//   text (string, fixed, wide)  character field of twice the size, at most 254 bytes
//   memo                        character field of 254 bytes
//   smallint, word, integer,    numeric without decimals, wide enough for the type's range
//   auto-increment, large int
//   currency, money floats      numeric with two decimals
//   BCD                         numeric with four decimals
//   float                       numeric with six decimals
//   date, date-time             date (the time of day is not kept)
//   time                        character field "hh:nn:ss"
//   Boolean                     logical
//   blob, graphic, bytes, ...   left out
// A text longer than its character field is cut on a GBK character boundary (only a memo, or a
// text field of more than 127 characters, can be). A number that does not fit raises.
#pragma once

#include <QString>

class TDataSet;

namespace qx {

// Writes dataSet to fileName (as named). The dataset is moved from its first record to its end
// and stays there. Raises EDatabaseError for a closed dataset, a field type the table cannot
// hold, a value that does not fit, and EInOutError when the file cannot be written.
void saveDataSetAsDbf(TDataSet& dataSet, const QString& fileName);

} // namespace qx
