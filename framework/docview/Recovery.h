// Where recovery copies live: each running process keeps the copy of its unsaved drawing in
// the user's data folder (<data>/<settings key>/<application>/recovery), beside a lock that
// marks the copy as its own while it runs. A copy whose lock no running process holds was
// left by a process that ended without the user deciding about it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CRecoveryCopy {
    std::string path;
    std::int64_t modified = 0; // its last change, in seconds since 1970 (UTC)
};

// This process's copy, locked as its own for as long as the process runs; empty when there is
// no data folder to keep it in.
std::string AfxRecoveryPath();
// The copies that processes which ended left behind, newest first. Each is locked for this
// process from then on, so that no other process offers it as well.
std::vector<CRecoveryCopy> AfxClaimLeftRecoveries();
// Removes a claimed copy and its lock: it has been restored or declined.
void AfxRemoveRecovery(const std::string& path);
