#include "platform/errors/CRunTimeError.h"

CRunTimeError::CRunTimeError(std::int32_t lNumber, const std::string& sDescription)
    : std::runtime_error(std::to_string(lNumber) + "-" + sDescription), m_lNumber(lNumber),
      m_sDescription(sDescription) {}

std::string CRunTimeError::StandardText(std::int32_t lNumber) {
    switch (lNumber) {
    case 5:
        return "Invalid procedure call or argument";
    case 6:
        return "Overflow";
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
