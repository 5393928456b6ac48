// The two entry points the zip component looks up by name.
#include "AddJob.h"
#include "DeleteJob.h"

#include "DllCallback.h"
#include "ZipDllRecords.h"

#include <exception>
#include <string>

#define ZIPDLL_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

int32_t Refuse(DllCallback& callback, const std::string& why)
{
    callback.message(ZMC_FAILED, why);
    callback.send(ZCB_END_BATCH);
    return 0;
}

int32_t Execute(ZipAddCommand& command, DllCallback& callback)
{
    if (!command.ZipFileName || !*command.ZipFileName)
        return Refuse(callback, "No archive name was given.");
    if (command.SpecCount < 0 || (command.SpecCount > 0 && !command.FileSpecs) ||
        (command.ExclusionCount > 0 && !command.Exclusions))
        return Refuse(callback, "The list of files is malformed.");
    if (command.DeleteEntries != 0)
        return DeleteJob(command, callback).run();
    return AddJob(command, callback).run();
}

} // namespace

ZIPDLL_EXPORT int32_t ZipDllExec(ZipAddCommand* command)
{
    if (!command)
        return 0;
    DllCallback callback(command->Callback, command->Caller, command->Handle, true);
    // Nothing may escape into the caller, which may not be C++ at all.
    try {
        return Execute(*command, callback);
    } catch (const std::exception& e) {
        return Refuse(callback, std::string("Adding stopped on an internal error: ") + e.what());
    } catch (...) {
        return Refuse(callback, "Adding stopped on an internal error.");
    }
}

ZIPDLL_EXPORT int32_t GetZipDllVersion(void)
{
    return ZIPDLL_INTERFACE_VERSION;
}
