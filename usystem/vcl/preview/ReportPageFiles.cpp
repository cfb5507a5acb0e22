// Joining report files and taking pages out of one; declared in uQxRptPrev.h.
#include "usystem/vcl/preview/uQxRptPrev.h"

#include "platform/report/QRPageFile.h"
#include "platform/rtl/Exceptions.h"

#include <algorithm>

using qx::report::PageFileContent;

int MergeReportFiles(const QString& Dest, const QStringList* Files)
{
    if (!Files)
        return -2;
    if (Files->isEmpty())
        return -3;
    if (Dest.isEmpty())
        return -1;
    PageFileContent joined;
    bool first = true;
    for (const QString& file : *Files) {
        PageFileContent part = qx::report::loadPageFile(file);
        if (first) {
            // The paper and font of the first file stand for the whole.
            joined.paperWidth = part.paperWidth;
            joined.paperLength = part.paperLength;
            joined.font = part.font;
            first = false;
        }
        joined.pages.insert(joined.pages.end(), part.pages.begin(), part.pages.end());
        joined.crcs.insert(joined.crcs.end(), part.crcs.begin(), part.crcs.end());
    }
    // Checksums missing for some page are computed again while saving.
    if (joined.crcs.size() != joined.pages.size())
        joined.crcs.clear();
    qx::report::savePageFile(Dest, joined);
    return 0;
}

bool ExtractReportPages(const QString& Source, const QString& Dest, int FromPage, int ToPage, int Copies,
                        bool Collate)
{
    const PageFileContent source = qx::report::loadPageFile(Source);
    const int count = int(source.pages.size());
    if (FromPage == 0) {
        FromPage = 1;
        ToPage = count;
    }
    if (FromPage < 1 || ToPage < FromPage || ToPage > count)
        throw ERangeError(QStringLiteral("页码超出范围：%1 - %2（共 %3 页）").arg(FromPage).arg(ToPage).arg(count));
    const int times = Collate ? 1 : std::max(1, Copies);

    PageFileContent out;
    out.paperWidth = source.paperWidth;
    out.paperLength = source.paperLength;
    out.font = source.font;
    const bool withCrcs = source.crcs.size() == source.pages.size();
    for (int page = FromPage; page <= ToPage; ++page) {
        for (int i = 0; i < times; ++i) {
            out.pages.push_back(source.pages[std::size_t(page - 1)]);
            if (withCrcs)
                out.crcs.push_back(source.crcs[std::size_t(page - 1)]);
        }
    }
    qx::report::savePageFile(Dest, out);
    return true;
}
