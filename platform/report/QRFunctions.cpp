#include "platform/report/QRFunctions.h"

TQREvElementFunction::~TQREvElementFunction() = default;

const TQREvResult& TQREvElementFunction::Argument(int index) const
{
    static const TQREvResult missing = TQREvResult::Error(QStringLiteral("缺少参数"));
    if (index < 0 || index >= int(m_args.size()))
        return missing;
    return m_args[std::size_t(index)];
}

TQRFunctionLibrary::TQRFunctionLibrary() = default;

bool TQRFunctionLibrary::Register(TQREvFunctionFactory factory, const QString& name,
                                  const QString& description, const QString& vendor,
                                  const QString& arguments)
{
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || !factory || Contains(trimmed))
        return false;
    m_entries.push_back({trimmed, description, vendor, arguments, std::move(factory)});
    return true;
}

const TQRFunctionEntry* TQRFunctionLibrary::Find(const QString& name) const
{
    for (const TQRFunctionEntry& e : m_entries) {
        if (e.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

std::unique_ptr<TQREvElementFunction> TQRFunctionLibrary::Create(const QString& name) const
{
    const TQRFunctionEntry* e = Find(name);
    return e ? e->Factory() : nullptr;
}

TQRFunctionLibrary& QRFunctionLibrary()
{
    static TQRFunctionLibrary library;
    static const bool standardListed = [] {
        qx::report::registerStandardFunctions(library);
        return true;
    }();
    Q_UNUSED(standardListed);
    return library;
}

bool RegisterQRFunction(TQREvFunctionFactory factory, const QString& name, const QString& description,
                        const QString& vendor, const QString& arguments)
{
    return QRFunctionLibrary().Register(std::move(factory), name, description, vendor, arguments);
}
