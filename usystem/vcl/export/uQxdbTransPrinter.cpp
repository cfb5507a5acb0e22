// TQxDatasetToPrinter: the plain printer writer's settings. No command prints through it.
#include "usystem/vcl/export/uQxdbTrans.h"

TQxDatasetToPrinter::TQxDatasetToPrinter(QObject* Owner)
    : QObject(Owner),
      FFont(QStringLiteral("Arial"), 10),
      FTitleFont(QStringLiteral("Arial"), 16, QFont::Bold)
{
}

void TQxDatasetToPrinter::Print() {}
