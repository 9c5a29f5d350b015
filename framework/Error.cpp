#include "Error.h"

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
        return "일반 파일이 아닙니다(폴더, 파이프 또는 장치).";
    case ERROR_NOT_ENOUGH_MEMORY_FOR_FILE:
    case ENOMEM:
        return "메모리가 부족합니다.";
    case EACCES:
    case EPERM:
        return "권한이 없습니다. 읽기 전용 파일이거나 쓸 수 없는 폴더입니다.";
    case ENOSPC:
    case EDQUOT:
        return "디스크 공간이 부족합니다.";
    case ENAMETOOLONG:
        return "파일 이름이나 경로가 너무 깁니다.";
    case ENOENT:
    case ENOTDIR:
        return "파일이나 폴더가 없습니다.";
    case EROFS:
        return "읽기 전용 파일 시스템입니다.";
    case EISDIR:
        return "폴더입니다.";
    case ELOOP:
        return "심볼릭 링크가 너무 많이 이어집니다.";
    case EIO:
        return "입출력 오류가 발생했습니다.";
    case EBUSY:
    case EWOULDBLOCK:
        return "다른 프로그램이 파일을 사용하고 있습니다.";
    default:
        return std::string("시스템 오류: ") + std::strerror(int(dwError));
    }
}
