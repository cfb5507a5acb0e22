// Registration of the library's report functions with the engine's function library.
#include "usystem/vcl/report/uQxQryexpr.h"

bool RegisterReportFunction(TQREvFunctionFactory Factory, const QString& Name, const QString& Description,
                            const QString& Vendor, const QString& Arguments)
{
    if (QRFunctionLibrary().Contains(Name))
        return false;
    return RegisterQRFunction(std::move(Factory), Name, Description, Vendor, Arguments);
}

namespace {

template <typename FunctionClass>
void listFunction(const char* name, const char* arguments, const char* prototype, const char* help)
{
    RegisterReportFunction<FunctionClass>(QString::fromUtf8(name),
                                          QString::fromUtf8(prototype) + u'|' + QString::fromUtf8(help),
                                          qx::report::kLibraryFunctionVendor, QString::fromUtf8(arguments));
}

} // namespace

void registerLibraryExpressionFunctions()
{
    listFunction<TQREvRmbDxFunction>("RMBDX", "3N", "RMBDx(<F>)", "将整数或浮点数转换成人民币大写");
    listFunction<TQREvYuanFunction>("RMB", "2N", "RMB(<F>)", "将整数或浮点数转换为货币格式(￥#,##0.00)");
    listFunction<TQREvLongDateFunction>("LongDate", "1S", "LongDate(<F>)", "格式化日期为: yyyy年mm月dd日");
    listFunction<TQREvLongDate1Function>("LongDate1", "1S", "LongDate1(<F>)", "格式化日期为: yyyy-mm-dd");
    listFunction<TQREvCurrencyFunction>("CURRENCY", "7", "CURRENCY", "取当前缺省货币符号");
    listFunction<TQREvStrToIntFunction>("STRTOINT", "7S", "STRTOINT(<X>)", "将字符串转换成整数");
    listFunction<TQREvStrToNumFunction>("STRTONUM", "7S", "STRTONUM(<X>)", "将字符串转换成数字");
    listFunction<TQREvDateDiffFunction>("DATEDIFF", "1SS", "DATEDIFF(<D1>,<D2>)", "计算日期< D1 >与< D2 >之间的差值");
    listFunction<TQREvFormatDateTimeFunction>("FORMATDATETIME", "1SS", "FORMATDATETIME(<D>,<F>)",
                                              "用格式<F>格式化日期与时间<D>");
    listFunction<TQREvCalcDateFunction>("CALCDATE", "1SNNN", "CALCDATE( DT, D, M, Y )",
                                        "日期<DT>加上< D >日,< M >月,< Y >年");
    listFunction<TQREvExtractDayFunction>("EXTRACTDAY", "1S", "EXTRACTDAY(<DATE>)", "取日期<DATE>的日(Day)");
    listFunction<TQREvExtractMonthFunction>("EXTRACTMONTH", "1S", "EXTRACTMONTH(<DATE>)", "取日期<DATE>的月份");
    listFunction<TQREvExtractYearFunction>("EXTRACTYEAR", "1S", "EXTRACTYEAR(<DATE>)", "取日期<DATE>的年份");
    listFunction<TQREvDayOfWeekFunction>("DAYOFWEEK", "1S", "DAYOFWEEK(<DATE>)", "日期<DATE>是星期几(1..7)");
    listFunction<TQREvDayStringFunction>("DAYSTRING", "1N", "DAYSTRING(<D>)", "取数字<D>(0..6)的星期名");
    listFunction<TQREvMonthStringFunction>("MONTHSTRING", "1N", "MONTHSTRING(<M>)", "取数字<M>(1..12)的月份名");
    listFunction<TQREvCalcTimeFunction>("CALCTIME", "1SNNN", "CALCTIME( T, H, M, S )",
                                        "时间< T > 增加 H 小时, M 分钟 , S 秒");
    listFunction<TQREvTrimFunction>("TRIM", "7S", "TRIM(<S>)", "去除字符串< S >的前后空格");
    listFunction<TQREvStrLenFunction>("STRLEN", "7S", "STRLEN(<S>)", "返回< S >的字符长度");
    listFunction<TQREvStretchStrFunction>("STRETCHSTR", "7SN", "STRETCHSTR(<S>,<L>)",
                                          "在字符串< S >的每个字符之间添加< L >个空格");
    listFunction<TQREvChrFunction>("CHR", "7N", "CHR(<I>)", "将ASCII码转换成字符");
    listFunction<TQREvAbsFunction>("ABS", "2N", "ABS(<I>)", "返回< I >的绝对值");
    listFunction<TQREvPadLeftFunction>("PADLEFT", "7SN", "PADLEFT(<S>,<Len>)",
                                       "在字符串< S >前添加空格,直至长度为< Len >");
    listFunction<TQREvPadRightFunction>("PADRIGHT", "7SN", "PADRIGHT(<S>,<Len>)",
                                        "在字符串< S >后添加空格,直至长度为< Len >");
    listFunction<TQREvPadLeftZeroFunction>("PADLEFTZERO", "7SN", "PADLEFTZERO(<S>,<Len>)",
                                           "在字符串< S >前添加0,直至长度为< Len >");
    listFunction<TQREvInsertStrFunction>("INSERTSTR", "7SS", "INSERTSTR(<Source>,<Insert>)",
                                         "在字符串<Source>包含\"%s\"的地方，用<Insert>代替");
    listFunction<TQREvRoundFunction>("ROUND", "7NN", "ROUND(<浮点数>,<第几位取整>)",
                                     "<浮点数>按<第几位取整>取整，round(126.12,1) ==> 126.1 ; round(126.12,-1) ==> 130 ");
}
