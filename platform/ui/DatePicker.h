// The forms' date picker: a date edit with a drop-down month calendar that shows its date in
// the run-time library's short date format ("yyyy-mm-dd" as the program sets it) and starts at
// today's date of the system clock, so that a form made on a fixed day shows that day.
#pragma once

#include "platform/rtl/DateTime.h"

#include <QDateEdit>
#include <QString>

namespace qx {

// The Qt display format of a date format of the run-time library: runs of y, m and d become
// Qt's year, month and day sections ("yyyy-mm-dd" -> "yyyy-MM-dd"), '/' becomes the date
// separator, text between quotes and any other character stay literal.
QString qtDateFormat(const QString& format);

class DatePicker : public QDateEdit
{
    Q_OBJECT

public:
    explicit DatePicker(QWidget* parent = nullptr);

    // The date at midnight.
    TDateTime Date() const;
    void SetDate(TDateTime value);
    // The date in the short date format, as SQL date texts and the forms write it.
    QString DateText() const;
};

} // namespace qx
