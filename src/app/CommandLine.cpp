#include "app/CommandLine.h"

#include "core/TextOrder.h"

namespace {

bool isSingle(const QStringList& arguments, const char* word)
{
    return arguments.size() == 1 && AsciiUpper(arguments.first()) == QLatin1String(word);
}

} // namespace

bool CommandLine::IsSingleRemove(const QStringList& arguments)
{
    return isSingle(arguments, "-REMOVE");
}

CommandLine CommandLine::Parse(const QStringList& arguments)
{
    CommandLine result;
    if (isSingle(arguments, "-INSTALL")) {
        result.action = StartAction::Install;
        return result;
    }
    if (isSingle(arguments, "-REMOVE")) {
        result.action = StartAction::Remove;
        return result;
    }
    for (QString arg : arguments) {
        if (arg.startsWith(QLatin1Char('/')))
            arg[0] = QLatin1Char('-');
        if (AsciiUpper(arg) == QLatin1String("-MIN"))
            result.minimize = true;
    }
    return result;
}
