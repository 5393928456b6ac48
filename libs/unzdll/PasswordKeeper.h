// The password for encrypted members: the command's, then whatever the caller gives
// when asked. One that worked is kept for the members after it.
#pragma once

#include "DllCallback.h"

#include <optional>
#include <string>

class PasswordKeeper {
public:
    PasswordKeeper(const char* initial, int32_t requestsPerMember, DllCallback& callback);

    const std::optional<std::string>& current() const { return m_password; }
    // Each member gets the full number of requests.
    void beginMember() { m_requestsLeft = m_requestsPerMember; }
    // Asks the caller for another password; false when the requests are used up or
    // the caller gave none (then it is not asked again in this run).
    bool askAnother(const std::string& memberName);

private:
    std::optional<std::string> m_password;
    int32_t m_requestsPerMember;
    int32_t m_requestsLeft = 0;
    bool m_declined = false;
    DllCallback& m_callback;
};
