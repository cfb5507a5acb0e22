#include "platform/report/QRExport.h"

TQRExportFilter::TQRExportFilter(const QString& fileName) : m_fileName(fileName) {}
TQRExportFilter::~TQRExportFilter() = default;

void TQRExportFilter::Start(double, double, const QFont&) {}
void TQRExportFilter::NewPage() {}
void TQRExportFilter::TextOut(double, double, const QFont&, TColor, TAlignment, const QString&) {}
void TQRExportFilter::EndPage() {}
void TQRExportFilter::Finish() {}

QString TQRExportFilterEntry::FileFilter() const
{
    return QStringLiteral("%1 (*.%2)").arg(Description, Extension);
}

bool TQRExportFilterLibrary::AddFilter(const TQRExportFilterFactory& factory)
{
    if (!factory)
        return false;
    const std::unique_ptr<TQRExportFilter> probe = factory(QString());
    if (!probe)
        return false;
    for (const TQRExportFilterEntry& e : m_filters) {
        if (e.FilterName == probe->FilterName())
            return false;
    }
    m_filters.push_back({probe->Description(), probe->Extension(), probe->FilterName(), factory});
    return true;
}

QString TQRExportFilterLibrary::SaveFileFilter() const
{
    QStringList parts{qx::report::pageFileFilter()};
    for (const TQRExportFilterEntry& e : m_filters)
        parts << e.FileFilter();
    return parts.join(QStringLiteral(";;"));
}

TQRExportFilterLibrary& QRExportFilterLibrary()
{
    static TQRExportFilterLibrary library;
    return library;
}

namespace qx::report {

QString pageFileFilter()
{
    return QStringLiteral("报表文件 (*.QRP)");
}

} // namespace qx::report
