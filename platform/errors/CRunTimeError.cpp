#include "platform/errors/CRunTimeError.h"

#include <cerrno>
#include <filesystem>
#include <new>

CRunTimeError::CRunTimeError(std::int32_t lNumber, const std::string& sDescription)
    : std::runtime_error(std::to_string(lNumber) + "-" + sDescription), m_lNumber(lNumber),
      m_sDescription(sDescription) {}

std::string CRunTimeError::StandardText(std::int32_t lNumber) {
    switch (lNumber) {
    case 5:
        return "Invalid procedure call or argument";
    case 6:
        return "Overflow";
    case 7:
        return "Out of memory";
    case 9:
        return "Subscript out of range";
    case 13:
        return "Type mismatch";
    case 52:
        return "Bad file name or number";
    case 53:
        return "File not found";
    case 54:
        return "Bad file mode";
    case 58:
        return "File already exists";
    case 61:
        return "Disk full";
    case 62:
        return "Input past end of file";
    case 70:
        return "Permission denied";
    case 75:
        return "Path/File access error";
    case 76:
        return "Path not found";
    case 424:
        return "Object required";
    case 35004:
        return "Key already exists";
    case 35601:
        return "Element not found";
    default:
        return "Application-defined or object-defined error";
    }
}

CRunTimeError CRunTimeError::Standard(std::int32_t lNumber) {
    return CRunTimeError(lNumber, StandardText(lNumber));
}

CRunTimeError CRunTimeError::FromErrno(int iErrno, const std::string& sWhat) {
    std::int32_t lNumber = RunTimeErrors::PathFileAccessError;
    switch (iErrno) {
    case ENOENT:
        lNumber = RunTimeErrors::FileNotFound;
        break;
    case ENOTDIR:
        lNumber = RunTimeErrors::PathNotFound;
        break;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
        lNumber = RunTimeErrors::PermissionDenied;
        break;
    case EEXIST:
        lNumber = RunTimeErrors::FileAlreadyExists;
        break;
    case ENOSPC:
        lNumber = RunTimeErrors::DiskFull;
        break;
    case ENOMEM:
        lNumber = RunTimeErrors::OutOfMemory;
        break;
    case ENAMETOOLONG:
    case EINVAL:
        lNumber = RunTimeErrors::BadFileNameOrNumber;
        break;
    default:
        break;
    }
    const std::string sText = StandardText(lNumber);
    return CRunTimeError(lNumber, sWhat.empty() ? sText : sText + ": " + sWhat);
}

CRunTimeError CRunTimeError::FromException(const std::exception& oException) {
    if (const auto* pError = dynamic_cast<const CRunTimeError*>(&oException)) {
        return *pError;
    }
    if (const auto* pError = dynamic_cast<const std::filesystem::filesystem_error*>(&oException)) {
        return FromErrno(pError->code().value(), pError->path1().string());
    }
    if (dynamic_cast<const std::bad_alloc*>(&oException) != nullptr) {
        return Standard(RunTimeErrors::OutOfMemory);
    }
    if (dynamic_cast<const std::out_of_range*>(&oException) != nullptr) {
        return CRunTimeError(RunTimeErrors::SubscriptOutOfRange, oException.what());
    }
    return CRunTimeError(RunTimeErrors::InvalidProcedureCall, oException.what());
}
