#include "DllHarness.h"

#include <QFile>
#include <QProcess>
#include <cstring>
#include <dlfcn.h>
#include <stdexcept>

namespace {

void* Symbol(const char* library, const char* name)
{
    const std::string path = std::string(DV_PROGRAM_DIR) + "/" + library;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw std::runtime_error(dlerror());
    void* symbol = dlsym(handle, name);
    if (!symbol)
        throw std::runtime_error(std::string(name) + " missing from " + library);
    return symbol;
}

} // namespace

int32_t CallbackLog::Route(ZipCallbackRecord* record)
{
    auto* log = static_cast<CallbackLog*>(record->Caller);
    log->calls.push_back({record->ActionCode, record->ErrorCode, record->Number,
                          std::string(record->Text, strnlen(record->Text, ZIPDLL_TEXT_SIZE))});
    return log->answer ? log->answer(*record) : 0;
}

std::vector<CallbackCall> CallbackLog::of(int32_t action) const
{
    std::vector<CallbackCall> found;
    for (const CallbackCall& call : calls)
        if (call.action == action)
            found.push_back(call);
    return found;
}

bool CallbackLog::has(int32_t action, int32_t code) const
{
    for (const CallbackCall& call : calls)
        if (call.action == action && call.code == code)
            return true;
    return false;
}

std::string CallbackLog::messages() const
{
    std::string all;
    for (const CallbackCall& call : of(ZCB_MESSAGE))
        all += std::to_string(call.code) + ": " + call.text + "\n";
    return all;
}

AddRun::AddRun(const std::string& archive)
{
    // As the component fills it for an add with default options.
    command.Caller = &log;
    command.Version = ZIPDLL_INTERFACE_VERSION;
    command.Callback = &CallbackLog::Route;
    command.NoDirEntries = -1;
    command.Quiet = -1;
    command.Level = 6;
    command.Grow = -1;
    command.ZipFileName = keep(archive);
    command.Seven = ZIPDLL_RECORD_SEVEN;
}

AddRun& AddRun::fileSpec(const std::string& text, const std::string& archiveFolder)
{
    ZipFileSpec entry{};
    entry.FileSpec = keep(text);
    entry.ArchiveFolder = archiveFolder.empty() ? nullptr : keep(archiveFolder);
    m_specs.push_back(entry);
    return *this;
}

AddRun& AddRun::exclude(const std::string& pattern)
{
    m_exclusions.push_back(keep(pattern));
    return *this;
}

const char* AddRun::keep(const std::string& text)
{
    return m_texts.emplace_back(text).c_str();
}

int32_t AddRun::run()
{
    static const auto exec = reinterpret_cast<ZipDllExecFunction>(Symbol("ZIPDLL.DLL", "ZipDllExec"));
    command.SpecCount = int32_t(m_specs.size());
    for (ZipFileSpec& fileSpec : m_specs)
        fileSpec.Recurse = command.Recurse;   // as the component fills them
    command.FileSpecs = m_specs.data();
    command.ExclusionCount = int32_t(m_exclusions.size());
    command.Exclusions = m_exclusions.data();
    log.calls.clear();
    return exec(&command);
}

ExtractRun::ExtractRun(const std::string& archive)
{
    command.Caller = &log;
    command.Version = ZIPDLL_INTERFACE_VERSION;
    command.Callback = &CallbackLog::Route;
    command.Quiet = -1;
    command.DirNames = -1;
    command.ZipFileName = keep(archive);
    command.PasswordRequestCount = 3;
    command.Seven = ZIPDLL_RECORD_SEVEN;
}

ExtractRun& ExtractRun::fileSpec(const std::string& text)
{
    UnzFileSpec entry{};
    entry.FileSpec = keep(text);
    m_specs.push_back(entry);
    return *this;
}

const char* ExtractRun::keep(const std::string& text)
{
    return m_texts.emplace_back(text).c_str();
}

int32_t ExtractRun::run()
{
    static const auto exec = reinterpret_cast<UnzDllExecFunction>(Symbol("UNZDLL.DLL", "UnzDllExec"));
    command.SpecCount = int32_t(m_specs.size());
    command.FileSpecs = m_specs.data();
    log.calls.clear();
    return exec(&command);
}

int RunTool(const QStringList& command, QString* output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(command.front(), command.mid(1));
    if (!process.waitForFinished(60000))
        return -1;
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList ZipNames(const QString& archive)
{
    QString out;
    RunTool({"zipinfo", "-1", archive}, &out);
    QStringList names = out.split('\n', Qt::SkipEmptyParts);
    names.sort();
    return names;
}
