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
    if (dwError == 0)
        return {};
    // Errors that mean the same to the user share one text.
    static constexpr struct {
        DWORD error;
        UINT text;
    } kTexts[] = {
        {ERROR_NOT_REGULAR_FILE, AFX_IDS_ERROR_NOT_REGULAR_FILE},
        {ERROR_NOT_ENOUGH_MEMORY_FOR_FILE, AFX_IDS_ERROR_NO_MEMORY},
        {ENOMEM, AFX_IDS_ERROR_NO_MEMORY},
        {EACCES, AFX_IDS_ERROR_ACCESS},
        {EPERM, AFX_IDS_ERROR_ACCESS},
        {ENOSPC, AFX_IDS_ERROR_DISK_FULL},
        {EDQUOT, AFX_IDS_ERROR_DISK_FULL},
        {ENAMETOOLONG, AFX_IDS_ERROR_NAME_TOO_LONG},
        {ENOENT, AFX_IDS_ERROR_NOT_FOUND},
        {ENOTDIR, AFX_IDS_ERROR_NOT_FOUND},
        {EROFS, AFX_IDS_ERROR_READ_ONLY_FS},
        {EISDIR, AFX_IDS_ERROR_IS_FOLDER},
        {ELOOP, AFX_IDS_ERROR_LINK_LOOP},
        {EIO, AFX_IDS_ERROR_IO},
        {EBUSY, AFX_IDS_ERROR_IN_USE},
        {EWOULDBLOCK, AFX_IDS_ERROR_IN_USE},
    };
    for (const auto& [error, text] : kTexts)
        if (error == dwError)
            return res::LoadString(text);
    return std::string(res::LoadString(AFX_IDS_ERROR_SYSTEM)) + std::strerror(int(dwError));
}
