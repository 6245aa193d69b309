// The network adapter list, for the machine part of generated UIDs. The
// adapters are the interfaces with a hardware address (loopback left out),
// in the order of their interface index. Tests inject the addresses.
#pragma once

#include "PlatformBaseExport.h"
#include "WinTypes.h"

#include <array>
#include <ctime>
#include <span>

#define MAX_ADAPTER_NAME_LENGTH 256
#define MAX_ADAPTER_DESCRIPTION_LENGTH 128
#define MAX_ADAPTER_ADDRESS_LENGTH 8
#define MIB_IF_TYPE_OTHER 1
#define MIB_IF_TYPE_ETHERNET 6

using PULONG = ULONG*;

typedef struct
{
    char String[4 * 4];
} IP_ADDRESS_STRING, IP_MASK_STRING;

typedef struct _IP_ADDR_STRING
{
    struct _IP_ADDR_STRING* Next;
    IP_ADDRESS_STRING IpAddress;
    IP_MASK_STRING IpMask;
    DWORD Context;
} IP_ADDR_STRING, *PIP_ADDR_STRING;

typedef struct _IP_ADAPTER_INFO
{
    struct _IP_ADAPTER_INFO* Next;
    DWORD ComboIndex;
    char AdapterName[MAX_ADAPTER_NAME_LENGTH + 4];
    char Description[MAX_ADAPTER_DESCRIPTION_LENGTH + 4];
    UINT AddressLength;
    BYTE Address[MAX_ADAPTER_ADDRESS_LENGTH];
    DWORD Index;
    UINT Type;
    UINT DhcpEnabled;
    PIP_ADDR_STRING CurrentIpAddress;
    IP_ADDR_STRING IpAddressList;
    IP_ADDR_STRING GatewayList;
    IP_ADDR_STRING DhcpServer;
    BOOL HaveWins;
    IP_ADDR_STRING PrimaryWinsServer;
    IP_ADDR_STRING SecondaryWinsServer;
    time_t LeaseObtained;
    time_t LeaseExpires;
} IP_ADAPTER_INFO, *PIP_ADAPTER_INFO;

// Fills the caller's buffer with a chain of adapters. ERROR_NO_DATA when
// there is none; ERROR_BUFFER_OVERFLOW with *size set to the size needed
// when the buffer is too small.
extern "C" PLATFORMBASE_API DWORD GetAdaptersInfo(PIP_ADAPTER_INFO adapterInfo, PULONG size);

using AdapterAddress = std::array<BYTE, 6>;
// From now on the adapters are these addresses (none: no adapter at all).
PLATFORMBASE_API void SetInjectedAdapterAddresses(std::span<const AdapterAddress> addresses);
// Back to the machine's own interfaces.
PLATFORMBASE_API void ClearInjectedAdapterAddresses();
