/* The exports of the report library libControl.so.
 *
 * The program never links the report library; it loads it from the program folder on first
 * use and binds these functions by name (usystem/vcl/uQxDllCall.h). The names are the
 * library's stored export names and are spelled as they always were ("Exectue" included).
 *
 * Rules of the boundary, the same on both sides:
 *  - every export is a plain C function; nothing but these plain values crosses: no C++
 *    object, no Qt type, no exception;
 *  - text is NUL-terminated UTF-16 (const char16_t*); a null pointer reads as empty text;
 *    the caller keeps ownership of every string and array it passes;
 *  - the condition values of a run are a count and an array of that many strings; the
 *    library reads them during the call and keeps nothing;
 *  - a connection crosses as its connection string (the SQLite database file); the library
 *    opens its own connection on it and closes it before it returns;
 *  - text that reaches SQL (FormName, ReportName, condition values) is bound as a parameter
 *    by the library, never pasted into a statement;
 *  - every export catches everything raised inside it and returns a status: QX_CONTROL_TRUE
 *    or QX_CONTROL_FALSE as its Boolean result, or QX_CONTROL_ERROR when the work failed.
 */
#ifndef QX_CONTROL_EXPORTS_H
#define QX_CONTROL_EXPORTS_H

#ifdef __cplusplus
extern "C" {
#else
#include <uchar.h>
#endif

#define QX_CONTROL_FALSE 0
#define QX_CONTROL_TRUE 1
#define QX_CONTROL_ERROR (-1)

#if defined(__GNUC__)
#define QX_CONTROL_API __attribute__((visibility("default")))
#else
#define QX_CONTROL_API
#endif

/* A query definition of the library itself (a TQxQueryControl); only the library makes one
 * and hands it to its own exports. */
typedef struct QxQueryControlRef QxQueryControlRef;
/* A dataset of the library itself, filled by ReportData. */
typedef struct QxDataSetRef QxDataSetRef;

/* 1 */ QX_CONTROL_API int ShowReportData(const char16_t* UserName, QxQueryControlRef* Query);
/* 2 */ QX_CONTROL_API int GridPrint(void* Grid, const char16_t* Title1, const char16_t* Title2,
                                     const char16_t* FootText, int Preview);
/* 3 */ QX_CONTROL_API int ShowQueryResult(const char16_t* UserName, QxQueryControlRef* Query);
/* 4 */ QX_CONTROL_API int ReportData(const char16_t* ConnectionString, const char16_t* FormName,
                                      const char16_t* ReportName, QxDataSetRef* Data);
/* 5 */ QX_CONTROL_API int SetQueryControl(QxQueryControlRef* Query);
/* 6 */ QX_CONTROL_API int ExectueQuery(const char16_t* RulesConnection,
                                        const char16_t* DataConnection, const char16_t* UserName,
                                        const char16_t* FormName, const char16_t* ReportName);
/* 7 */ QX_CONTROL_API int ShowGroupdlg(const char16_t* RulesConnection,
                                        const char16_t* DataConnection, const char16_t* UserName,
                                        const char16_t* GroupCode);
/* 8 */ QX_CONTROL_API int ExectueQueryWithCondition(
    const char16_t* RulesConnectionString, const char16_t* DataConnectionString,
    const char16_t* UserName, const char16_t* FormName, const char16_t* ReportName,
    const char16_t* AppDir, int ValueCount, const char16_t* const* Values);
/* 9 */ QX_CONTROL_API int ExectueFind(const char16_t* RulesConnection,
                                       const char16_t* DataConnection, const char16_t* UserName,
                                       const char16_t* FormName);
/* 10 */ QX_CONTROL_API int ExectueFindString(const char16_t* RulesConnectionString,
                                              const char16_t* DataConnectionString,
                                              const char16_t* UserName, const char16_t* FormName,
                                              const char16_t* AppDir);
/* 11 */ QX_CONTROL_API int ExectueQueryString(const char16_t* RulesConnectionString,
                                               const char16_t* DataConnectionString,
                                               const char16_t* UserName, const char16_t* FormName,
                                               const char16_t* ReportName, const char16_t* AppDir);

/* The types the binder casts the looked-up addresses to. */
typedef int (*ShowReportDataProc)(const char16_t*, QxQueryControlRef*);
typedef int (*GridPrintProc)(void*, const char16_t*, const char16_t*, const char16_t*, int);
typedef int (*ShowQueryResultProc)(const char16_t*, QxQueryControlRef*);
typedef int (*ReportDataProc)(const char16_t*, const char16_t*, const char16_t*, QxDataSetRef*);
typedef int (*SetQueryControlProc)(QxQueryControlRef*);
typedef int (*ExectueQueryProc)(const char16_t*, const char16_t*, const char16_t*,
                                const char16_t*, const char16_t*);
typedef int (*ShowGroupdlgProc)(const char16_t*, const char16_t*, const char16_t*,
                                const char16_t*);
typedef int (*ExectueQueryWithConditionProc)(const char16_t*, const char16_t*, const char16_t*,
                                             const char16_t*, const char16_t*, const char16_t*,
                                             int, const char16_t* const*);
typedef int (*ExectueFindProc)(const char16_t*, const char16_t*, const char16_t*,
                               const char16_t*);
typedef int (*ExectueFindStringProc)(const char16_t*, const char16_t*, const char16_t*,
                                     const char16_t*, const char16_t*);
typedef int (*ExectueQueryStringProc)(const char16_t*, const char16_t*, const char16_t*,
                                      const char16_t*, const char16_t*, const char16_t*);

#ifdef __cplusplus
}
#endif

#endif /* QX_CONTROL_EXPORTS_H */
