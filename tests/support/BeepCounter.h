// Counts the beeps of the system while it lives, instead of sounding them; the hook that was
// set before comes back when it goes, however the test ends.
#pragma once

#include "platform/env/Beep.h"

namespace qxtest {

class BeepCounter
{
public:
    BeepCounter() : m_previous(qx::setBeepHook([this] { ++m_count; })) {}
    ~BeepCounter() { qx::setBeepHook(std::move(m_previous)); }
    BeepCounter(const BeepCounter&) = delete;
    BeepCounter& operator=(const BeepCounter&) = delete;

    int count() const { return m_count; }
    // The beeps so far, and the count starts again.
    int take()
    {
        const int n = m_count;
        m_count = 0;
        return n;
    }

private:
    qx::BeepHook m_previous;
    int m_count = 0;
};

} // namespace qxtest
