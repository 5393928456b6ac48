#include "PasswordKeeper.h"

#include <algorithm>

PasswordKeeper::PasswordKeeper(const char* initial, int32_t requestsPerMember, DllCallback& callback)
    : m_requestsPerMember(std::max(requestsPerMember, 0)), m_callback(callback)
{
    if (initial && *initial)
        m_password = initial;
}

bool PasswordKeeper::askAnother(const std::string& memberName)
{
    if (m_declined || m_requestsLeft <= 0 || !m_callback.present())
        return false;
    // Bit 0 of the error code clear: the password is for extracting.
    m_callback.send(ZCB_PASSWORD, 0, m_requestsLeft, memberName);
    --m_requestsLeft;
    const std::string answer = m_callback.answerCode() == 1 ? m_callback.answerText() : std::string();
    if (answer.empty() || m_callback.stopped()) {
        m_declined = true;
        return false;
    }
    m_password = answer;
    return true;
}
