#pragma once

#include <string>
#include <vector>

class CTempFolder;

// A program for the opener to start: a small script that writes its working folder and its
// arguments, one per line, into a named pipe that the test reads. Waiting on the pipe needs no
// sleep: it returns as soon as the script has written and closed it.
class CArgumentRecorder {
public:
    CArgumentRecorder(const CTempFolder& oTemp, const std::string& sName);
    ~CArgumentRecorder();
    CArgumentRecorder(const CArgumentRecorder&) = delete;
    CArgumentRecorder& operator=(const CArgumentRecorder&) = delete;

    const std::string& Program() const { return m_sProgram; }
    // The working folder, then the arguments; empty when nothing came within a generous limit
    // (the program did not start).
    std::vector<std::string> Wait();

private:
    void OpenPipe();

    std::string m_sProgram;
    std::string m_sPipe;
    int m_iPipe = -1;
};
