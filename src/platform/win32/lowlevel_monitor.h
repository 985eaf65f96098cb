// The low-level Monitor Configuration calls (DDC/CI VCP access and the capabilities
// string). MinGW-w64 ships the physical-monitor and high-level headers but not this
// one, while libdxva2.a exports all four functions; this is the only place that
// declares them.
#pragma once

#include <windows.h>

#include <highlevelmonitorconfigurationapi.h>
#include <physicalmonitorenumerationapi.h>

#if __has_include(<lowlevelmonitorconfigurationapi.h>)
#include <lowlevelmonitorconfigurationapi.h>
#else

extern "C" {

typedef enum _MC_VCP_CODE_TYPE {
    MC_MOMENTARY,
    MC_SET_PARAMETER
} MC_VCP_CODE_TYPE, *LPMC_VCP_CODE_TYPE;

BOOL WINAPI GetVCPFeatureAndVCPFeatureReply(HANDLE hMonitor, BYTE bVCPCode, LPMC_VCP_CODE_TYPE pvct,
                                            LPDWORD pdwCurrentValue, LPDWORD pdwMaximumValue);
BOOL WINAPI SetVCPFeature(HANDLE hMonitor, BYTE bVCPCode, DWORD dwNewValue);
BOOL WINAPI GetCapabilitiesStringLength(HANDLE hMonitor, LPDWORD pdwCapabilitiesStringLengthInCharacters);
BOOL WINAPI CapabilitiesRequestAndCapabilitiesReply(HANDLE hMonitor, LPSTR pszASCIICapabilitiesString,
                                                    DWORD dwCapabilitiesStringLengthInCharacters);

}  // extern "C"

#endif
