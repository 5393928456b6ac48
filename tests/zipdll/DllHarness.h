// Drives ZIPDLL.DLL and UNZDLL.DLL the way the zip component does: loaded with dlopen
// from beside the program, fed with filled records, answered through the callback.
#pragma once

#include "ZipDllRecords.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

struct CallbackCall {
    int32_t action = 0;
    int32_t code = 0;
    int64_t number = 0;
    std::string text;
};

// Records every call; `answer` may fill the record in and returns -1 to cancel.
class CallbackLog {
public:
    std::function<int32_t(ZipCallbackRecord&)> answer;
    std::vector<CallbackCall> calls;

    static int32_t Route(ZipCallbackRecord* record);
    std::vector<CallbackCall> of(int32_t action) const;
    bool has(int32_t action, int32_t code) const;
    // Every message, for failure output.
    std::string messages() const;
};

class AddRun {
public:
    explicit AddRun(const std::string& archive);
    AddRun& fileSpec(const std::string& text, const std::string& archiveFolder = {});
    AddRun& exclude(const std::string& pattern);
    ZipFileSpec& lastSpec() { return m_specs.back(); }
    const char* keep(const std::string& text);
    int32_t run();

    ZipAddCommand command{};
    CallbackLog log;

private:
    std::deque<std::string> m_texts;
    std::vector<ZipFileSpec> m_specs;
    std::vector<const char*> m_exclusions;
};

class ExtractRun {
public:
    explicit ExtractRun(const std::string& archive);
    ExtractRun& fileSpec(const std::string& text);
    const char* keep(const std::string& text);
    int32_t run();

    UnzExtractCommand command{};
    CallbackLog log;

private:
    std::deque<std::string> m_texts;
    std::vector<UnzFileSpec> m_specs;
};

// Runs an installed tool in the current folder; its exit code, and its output in `output`.
int RunTool(const QStringList& command, QString* output = nullptr);
QByteArray ReadAll(const QString& path);
// The names in an archive, as Info-ZIP lists them.
QStringList ZipNames(const QString& archive);
