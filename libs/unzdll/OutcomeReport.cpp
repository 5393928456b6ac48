#include "OutcomeReport.h"

namespace {

std::string Quoted(const std::string& name)
{
    return "\"" + name + "\"";
}

} // namespace

void ReportOutcome(DllCallback& callback, ReadOutcome outcome, const MemberInfo& member, const std::string& detail)
{
    const std::string name = Quoted(member.name);
    switch (outcome) {
    case ReadOutcome::Ok:
    case ReadOutcome::Cancelled:
        return;
    case ReadOutcome::BadPassword:
        callback.send(ZCB_SKIPPED, ZSK_BAD_PASSWORD, 0, member.name);
        callback.message(ZMC_FILE_PROBLEM, name + " was skipped: no password given decrypts it.");
        return;
    case ReadOutcome::CrcError:
        // The answer is not needed: damaged data is never put in place either way.
        callback.send(ZCB_CRC_ERROR, 0, 0, member.name);
        callback.message(ZMC_FILE_PROBLEM, name + " is damaged: its CRC does not match its data.");
        return;
    case ReadOutcome::Damaged:
        callback.send(ZCB_SKIPPED, ZSK_DAMAGED, 0, member.name);
        callback.message(ZMC_FILE_PROBLEM, name + " cannot be read: " + detail + ".");
        return;
    case ReadOutcome::SinkFailed:
        ReportWriteFailure(callback, member.name, detail);
        return;
    }
}

void ReportUnsafe(DllCallback& callback, const std::string& name, const std::string& why)
{
    callback.send(ZCB_SKIPPED, ZSK_UNSAFE_NAME, 0, name);
    callback.message(ZMC_FILE_PROBLEM, Quoted(name) + " was refused: " + why + ".");
}

void ReportWriteFailure(DllCallback& callback, const std::string& name, const std::string& why)
{
    callback.send(ZCB_SKIPPED, ZSK_WRITE_FAILED, 0, name);
    callback.message(ZMC_FILE_PROBLEM, "Cannot extract " + Quoted(name) + ": " + why + ".");
}
