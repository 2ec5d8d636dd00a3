#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A run-time error with the classic numbering (53 File not found, 76 Path not found, ...).
// Operations raise it inside their body; the one handler at the routine's boundary hands it
// to the error reporter, so it never crosses a component's interface.
class CRunTimeError : public std::runtime_error {
public:
    CRunTimeError(std::int32_t lNumber, const std::string& sDescription);

    std::int32_t Number() const { return m_lNumber; }
    const std::string& Description() const { return m_sDescription; }

    // The run-time's own text for a classic error number ("File not found" for 53).
    static std::string StandardText(std::int32_t lNumber);
    // An error with its standard text.
    static CRunTimeError Standard(std::int32_t lNumber);
    // The classic error that an operating-system error number stands for (ENOENT -> 53 ...).
    static CRunTimeError FromErrno(int iErrno, const std::string& sWhat = "");
    // Any exception caught at a routine's boundary, as a run-time error.
    static CRunTimeError FromException(const std::exception& oException);

private:
    std::int32_t m_lNumber;
    std::string m_sDescription;
};

// Classic error numbers that messages and logs rely on.
namespace RunTimeErrors {
constexpr std::int32_t InvalidProcedureCall = 5;
constexpr std::int32_t Overflow = 6;
constexpr std::int32_t SubscriptOutOfRange = 9;
constexpr std::int32_t TypeMismatch = 13;
constexpr std::int32_t FileNotFound = 53;
constexpr std::int32_t BadFileMode = 54;
constexpr std::int32_t FileAlreadyExists = 58;
constexpr std::int32_t InputPastEndOfFile = 62;
constexpr std::int32_t OutOfMemory = 7;
constexpr std::int32_t DiskFull = 61;
constexpr std::int32_t BadFileNameOrNumber = 52;
constexpr std::int32_t PermissionDenied = 70;
constexpr std::int32_t PathFileAccessError = 75;
constexpr std::int32_t PathNotFound = 76;
constexpr std::int32_t ObjectRequired = 424;
constexpr std::int32_t KeyAlreadyExists = 35004;
constexpr std::int32_t ElementNotFound = 35601;
} // namespace RunTimeErrors
