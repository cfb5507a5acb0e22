#include "app/shell/uAFormRegistry.h"

#include <QHash>

namespace qx::app {

namespace {

QHash<QString, FormFactory>& forms()
{
    static QHash<QString, FormFactory> map;
    return map;
}

QHash<QString, MainCommand>& commands()
{
    static QHash<QString, MainCommand> map;
    return map;
}

} // namespace

void registerForm(const QString& formClass, FormFactory factory)
{
    if (factory)
        forms().insert(formClass, std::move(factory));
    else
        forms().remove(formClass);
}

FormFactory formFactory(const QString& formClass)
{
    return forms().value(formClass);
}

void registerCommand(const QString& caption, MainCommand command)
{
    if (command)
        commands().insert(caption, std::move(command));
    else
        commands().remove(caption);
}

MainCommand mainCommand(const QString& caption)
{
    return commands().value(caption);
}

void clearFormRegistry()
{
    forms().clear();
    commands().clear();
}

} // namespace qx::app
