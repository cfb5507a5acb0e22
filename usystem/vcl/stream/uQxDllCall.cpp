#include "usystem/vcl/stream/uQxDllCall.h"

#include "control/ControlExports.h"
#include "platform/env/DialogService.h"
#include "platform/env/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <memory>
#include <vector>

namespace {

// Libraries loaded by the binder, by absolute path. They stay loaded for the rest of the run:
// the QLibrary objects are never unloaded, and PreventUnloadHint keeps the code mapped even if
// some other QLibrary of the same file calls unload().
QHash<QString, QLibrary*>& loadedLibraries()
{
    static QHash<QString, QLibrary*> libraries;
    return libraries;
}

int& loadCounter()
{
    static int count = 0;
    return count;
}

QString withTrailingSeparator(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

// NUL-terminated UTF-16 copies that live as long as the call.
class Utf16Args
{
public:
    const char16_t* add(const QString& text)
    {
        m_texts.push_back(text);
        return reinterpret_cast<const char16_t*>(m_texts.back().utf16());
    }

private:
    std::vector<QString> m_texts; // QString::utf16() is NUL-terminated
};

} // namespace

namespace qx {

int dllLoadCount() { return loadCounter(); }

QFunctionPointer getDllProc(const QString& folder, const QString& fileName,
                            const QString& procName)
{
    const QString path = QDir::isAbsolutePath(fileName)
                             ? fileName
                             : QDir(folder).absoluteFilePath(fileName);
    const QString key = QFileInfo(path).absoluteFilePath();
    QLibrary* library = loadedLibraries().value(key);
    if (!library) {
        auto candidate = std::make_unique<QLibrary>(key);
        candidate->setLoadHints(QLibrary::PreventUnloadHint);
        ++loadCounter();
        if (!candidate->load()) {
            showMessage(QStringLiteral("在调入[") + fileName + QStringLiteral("]文件时出错！"));
            return nullptr;
        }
        library = candidate.release();
        loadedLibraries().insert(key, library);
    }
    const QFunctionPointer proc = library->resolve(procName.toLatin1().constData());
    if (!proc) {
        showMessage(QStringLiteral("在文件%1中并不存在%2模块").arg(fileName, procName));
        return nullptr;
    }
    return proc;
}

bool queryWithCondition(const QString& folder, const QString& rulesConnStr,
                        const QString& dataConnStr, const QString& userName,
                        const QString& formName, const QString& reportName,
                        const QStringList& values)
{
    const auto proc = reinterpret_cast<ExectueQueryWithConditionProc>(
        getDllProc(folder, QString::fromLatin1(ControlLibraryName),
                   QStringLiteral("ExectueQueryWithCondition")));
    if (!proc)
        return false;
    Utf16Args args;
    const char16_t* rules = args.add(rulesConnStr);
    const char16_t* data = args.add(dataConnStr);
    const char16_t* user = args.add(userName);
    const char16_t* form = args.add(formName);
    const char16_t* report = args.add(reportName);
    const char16_t* appDir = args.add(withTrailingSeparator(folder));
    std::vector<const char16_t*> items;
    items.reserve(size_t(values.size()));
    for (const QString& v : values)
        items.push_back(args.add(v));
    int status = QX_CONTROL_ERROR;
    try {
        status = proc(rules, data, user, form, report, appDir, int(items.size()),
                      items.empty() ? nullptr : items.data());
    } catch (...) {
        // The library catches everything itself; this is the last line if one slips out.
        status = QX_CONTROL_ERROR;
    }
    if (status < 0) {
        showMessage(QStringLiteral("调用查询出错!"));
        return false;
    }
    return status == QX_CONTROL_TRUE;
}

} // namespace qx

QFunctionPointer GetDllProc(const QString& FileName, const QString& ProcName)
{
    return qx::getDllProc(qx::programFolder(), FileName, ProcName);
}

bool QueryWithCondition(const QString& RulesConnStr, const QString& DataConnStr,
                        const QString& UserName, const QString& FormName,
                        const QString& ReportName, const QStringList& Values)
{
    return qx::queryWithCondition(qx::programFolder(), RulesConnStr, DataConnStr, UserName, FormName,
                                  ReportName, Values);
}
