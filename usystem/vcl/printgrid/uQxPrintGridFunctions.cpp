// The grid printer's page-number functions and the registration of the library's functions.
#include "usystem/vcl/printgrid/uQxPrintGridFunctions.h"

#include "platform/report/QuickRep.h"
#include "usystem/vcl/printgrid/uQxPrintGrid.h"
#include "usystem/vcl/printgrid/uQxPrintGridState.h"
#include "usystem/vcl/report/uQxQryexpr.h"

namespace {

// The page functions take no arguments: a call with any is the plain error result, which the
// evaluator reports with the function's name.
bool calledWithArguments(const TQREvElementFunction& call)
{
    return call.ArgCount() != 0;
}

template <typename FunctionClass>
void listPageFunction(const char* name, const char* description)
{
    RegisterReportFunction<FunctionClass>(QString::fromUtf8(name), QString::fromUtf8(description),
                                          qx::report::kLibraryFunctionVendor, QStringLiteral("3"));
}

} // namespace

TQREvResult TQREvPageNumFunction::Calculate()
{
    if (calledWithArguments(*this))
        return TQREvResult();
    const QxGridPrintState& state = gridPrintState();
    const TQuickRep* report = state.CurrentReport.data();
    // Without a running report (the RTF export) the page within the part is all there is.
    const int enginePage = report ? report->PageNumber() : state.SpanPageNo;
    if (state.SpanCount == 0)
        return TQREvResult::Int(enginePage);
    if (report && report->DataSet())
        return TQREvResult::Int((enginePage + 1) / (state.SpanCount + 1));
    return TQREvResult::Int(state.SpanPageNo != 0 ? state.SpanPageNo : enginePage);
}

TQREvResult TQREvPageCountFunction::Calculate()
{
    if (calledWithArguments(*this))
        return TQREvResult();
    const QxGridPrintState& state = gridPrintState();
    int pages = state.SpanCount >= 1 ? state.TotalPages / (state.SpanCount + 1) : state.TotalPages;
    if (pages < 1)
        pages = 1;
    return TQREvResult::Int(pages);
}

TQREvResult TQREvcmbPageNumFunction::Calculate()
{
    if (calledWithArguments(*this))
        return TQREvResult();
    return TQREvResult::Int(gridPrintState().CurrentSpan + 1);
}

TQREvResult TQREvcmbPageCountFunction::Calculate()
{
    if (calledWithArguments(*this))
        return TQREvResult();
    return TQREvResult::Int(gridPrintState().SpanCount + 1);
}

void registerLibraryReportFunctions()
{
    gridPrintState().PrintBusy = false;
    listPageFunction<TQREvPageNumFunction>("PAGENUM", "PageNum|取当前正确的页码(主要是拼页时使用)");
    listPageFunction<TQREvPageCountFunction>("PAGECOUNT", "PageCount|总页数");
    listPageFunction<TQREvcmbPageNumFunction>("SPANPAGENUM", "SpanPageNum|当前属于第几个拼页");
    listPageFunction<TQREvcmbPageCountFunction>("SPANPAGECOUNT", "SpanPageCount|共有多少个拼页");
    registerLibraryExpressionFunctions();
}

// The page total is needed (a counting pass first) when some expression setting refers to it.
bool TQxPrintGrid::NeedsPageCount() const
{
    for (const QStringList& lines : {GridFootExpr(), GridHeadExpr(), GroupSumExpr()}) {
        for (const QString& line : lines) {
            if (RefersToPageCount(line))
                return true;
        }
    }
    if (RefersToPageCount(GroupTitleExpr()))
        return true;
    for (const QStringList& lines : {PageHeadExpr(), PageFootExpr(), SumPageColumn(), SumTotalColumn()}) {
        for (const QString& line : lines) {
            if (RefersToPageCount(line))
                return true;
        }
    }
    return false;
}

// Every "PAGECOUNT" is looked at, so "SPANPAGECOUNT+'/'+PAGECOUNT" counts; one that is the
// tail of "SPANPAGECOUNT" alone does not.
bool TQxPrintGrid::RefersToPageCount(const QString& Text)
{
    static const QString word = QStringLiteral("PAGECOUNT");
    static const QString span = QStringLiteral("SPAN");
    const QString upper = Text.toUpper();
    for (qsizetype at = upper.indexOf(word); at >= 0; at = upper.indexOf(word, at + word.size())) {
        if (at < span.size() || QStringView(upper).mid(at - span.size(), span.size()) != span)
            return true;
    }
    return false;
}
