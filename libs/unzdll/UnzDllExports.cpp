// The two entry points the zip component looks up by name.
#include "ExtractJob.h"

#include "DllCallback.h"
#include "ZipDllRecords.h"

#include <exception>
#include <string>

#define UNZDLL_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

int32_t Refuse(DllCallback& callback, const std::string& why)
{
    callback.message(ZMC_FAILED, why);
    callback.send(ZCB_END_BATCH);
    return 0;
}

int32_t Execute(UnzExtractCommand& command, DllCallback& callback)
{
    if (!command.ZipFileName || !*command.ZipFileName)
        return Refuse(callback, "No archive name was given.");
    if (command.SpecCount < 0 || (command.SpecCount > 0 && !command.FileSpecs))
        return Refuse(callback, "The list of members is malformed.");
    return ExtractJob(command, callback).run();
}

} // namespace

UNZDLL_EXPORT int32_t UnzDllExec(UnzExtractCommand* command)
{
    if (!command)
        return 0;
    DllCallback callback(command->Callback, command->Caller, command->Handle, false);
    // Nothing may escape into the caller, which may not be C++ at all.
    try {
        return Execute(*command, callback);
    } catch (const std::exception& e) {
        return Refuse(callback, std::string("Extracting stopped on an internal error: ") + e.what());
    } catch (...) {
        return Refuse(callback, "Extracting stopped on an internal error.");
    }
}

UNZDLL_EXPORT int32_t GetUnzDllVersion(void)
{
    return ZIPDLL_INTERFACE_VERSION;
}
