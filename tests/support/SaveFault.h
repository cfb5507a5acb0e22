// Makes the saves of platform/rtl/SafeSave.h fail at one step while the object lives, as a full
// disk or a broken device would, and puts the previous seam back when it goes.
#pragma once

#include "platform/rtl/SafeSave.h"

#include <cerrno>

namespace qxtest {

class SaveFault
{
public:
    // Every save fails at `step` with `error`; for SaveStep::Write only once `afterBytes` bytes
    // have reached the file.
    explicit SaveFault(qx::SaveStep step, int error = ENOSPC, qint64 afterBytes = 0)
        : m_previous(qx::setSaveFaultHook([step, error, afterBytes](qx::SaveStep at, const QString&, qint64 written) {
              return at == step && (at != qx::SaveStep::Write || written >= afterBytes) ? error : 0;
          }))
    {}
    ~SaveFault() { qx::setSaveFaultHook(std::move(m_previous)); }
    SaveFault(const SaveFault&) = delete;
    SaveFault& operator=(const SaveFault&) = delete;

private:
    qx::SaveFaultHook m_previous;
};

} // namespace qxtest
