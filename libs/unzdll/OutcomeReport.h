// Tells the caller why a member was not extracted or did not pass its test.
#pragma once

#include "MemberInfo.h"
#include "MemberReader.h"

#include "DllCallback.h"

#include <string>

// `detail` says more for Damaged (libzip's reason) and SinkFailed (the write error).
void ReportOutcome(DllCallback& callback, ReadOutcome outcome, const MemberInfo& member, const std::string& detail);

// A member that may not be written where its name or link target points.
void ReportUnsafe(DllCallback& callback, const std::string& name, const std::string& why);

// A member whose target could not be made or put in place.
void ReportWriteFailure(DllCallback& callback, const std::string& name, const std::string& why);
