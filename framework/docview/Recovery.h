// Where recovery copies live: each running process keeps the copy of its unsaved drawing in
// the user's data folder (<data>/<settings key>/<application>/recovery), named with the
// extension the application gives (CWinApp::SetRecoveryExtension), beside a lock file
// that it holds locked for as long as it runs. The system lets go of a lock with the process
// that held it, so a copy whose lock can be taken was left by a process that ended without
// the user deciding about it.
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
// The copies that processes which ended left behind, newest first; none is claimed yet. Lock
// files that ended processes left without a copy are removed on the way.
std::vector<CRecoveryCopy> AfxLeftRecoveries();
// Claims a left copy for this process until it is removed or set aside, so that no other
// process offers it as well; false when another process holds it.
bool AfxClaimRecovery(const std::string& path);
// Removes a claimed copy and its lock: it has been restored or declined.
void AfxRemoveRecovery(const std::string& path);
// Renames a claimed copy that cannot be read, so that it is kept but never offered again, and
// removes its lock; the name it has now, or empty when it could not be renamed (it stays).
std::string AfxSetRecoveryAside(const std::string& path);
