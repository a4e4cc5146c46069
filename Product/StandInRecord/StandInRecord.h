#pragma once
// A process-wide record of the calls the stand-in libraries receive, read by the tests of the
// loading protocol. It lives in the environment variable OV_STANDIN_RECORD, so it outlives the
// libraries that wrote it; nothing is recorded unless the variable exists. Each entry is
// "<module file name>:<event>" followed by '|'.

#include <windows.h>

#include <string>

// Appends an entry for the module that contains the caller of this function.
void StandInRecord(const wchar_t* event);

// For the tests: start a new, empty record; read it; stop recording.
void StandInRecordStart();
std::wstring StandInRecordRead();
void StandInRecordStop();
