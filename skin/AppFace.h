// AppFace.h: the two entries of AppFace.dll, exported by ordinal only (see AppFace.def).
#pragma once

#include <windows.h>

extern "C" {

// Ordinal 1. Skins every dialog and control that the calling thread creates from now on
// with the named skin file (ANSI code page; relative names: current directory, then the
// folder of AppFace.dll). The four values are reserved and ignored. Returns TRUE when the
// thread is skinned afterwards; a thread already skinned keeps its first skin.
int WINAPI AppFaceStart(const char* skinFile, DWORD reserved1, DWORD reserved2,
                        DWORD reserved3, DWORD reserved4);

// Ordinal 2. Removes the skin from every window of the calling thread it touched and
// frees what it holds; harmless without a start. Returns TRUE.
int WINAPI AppFaceStop();
}
