#include "Error.h"

#include "Commands.h"
#include "Resource.h"

#include <cerrno>
#include <cstring>

namespace {
thread_local DWORD t_lastError = 0;
}

DWORD GetLastError() { return t_lastError; }

void SetLastError(DWORD dwError) { t_lastError = dwError; }

std::string AfxErrorText(DWORD dwError)
{
    switch (dwError) {
    case 0:
        return {};
    case ERROR_NOT_REGULAR_FILE:
        return res::LoadString(AFX_IDS_ERROR_NOT_REGULAR_FILE);
    case ERROR_NOT_ENOUGH_MEMORY_FOR_FILE:
    case ENOMEM:
        return res::LoadString(AFX_IDS_ERROR_NO_MEMORY);
    case EACCES:
    case EPERM:
        return res::LoadString(AFX_IDS_ERROR_ACCESS);
    case ENOSPC:
    case EDQUOT:
        return res::LoadString(AFX_IDS_ERROR_DISK_FULL);
    case ENAMETOOLONG:
        return res::LoadString(AFX_IDS_ERROR_NAME_TOO_LONG);
    case ENOENT:
    case ENOTDIR:
        return res::LoadString(AFX_IDS_ERROR_NOT_FOUND);
    case EROFS:
        return res::LoadString(AFX_IDS_ERROR_READ_ONLY_FS);
    case EISDIR:
        return res::LoadString(AFX_IDS_ERROR_IS_FOLDER);
    case ELOOP:
        return res::LoadString(AFX_IDS_ERROR_LINK_LOOP);
    case EIO:
        return res::LoadString(AFX_IDS_ERROR_IO);
    case EBUSY:
    case EWOULDBLOCK:
        return res::LoadString(AFX_IDS_ERROR_IN_USE);
    default:
        return std::string(res::LoadString(AFX_IDS_ERROR_SYSTEM)) + std::strerror(int(dwError));
    }
}
