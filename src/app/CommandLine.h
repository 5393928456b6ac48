// The program's command-line arguments: "-INSTALL", "-REMOVE" and "-MIN", compared in
// upper case, with a leading "/" counting as "-".
#pragma once

#include <QStringList>

enum class StartAction { None, Install, Remove };

struct CommandLine {
    StartAction action = StartAction::None;
    bool minimize = false;

    // arguments without the program name
    static CommandLine Parse(const QStringList& arguments);
    // A second instance asks the first to uninstall only for the single argument "-REMOVE".
    static bool IsSingleRemove(const QStringList& arguments);
};
