#include "platform/os/SingleInstance.h"

#include "platform/os/Paths.h"

namespace instance {

Guard::Guard(const QString& programFolder)
    : lock_(std::make_unique<QLockFile>(paths::join(programFolder, QStringLiteral(".zorvatek.lock")))) {
    lock_->setStaleLockTime(0); // a lock left by a crashed run is taken over
    first_ = lock_->tryLock(0);
}

} // namespace instance
