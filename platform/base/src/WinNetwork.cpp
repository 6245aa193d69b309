#include "WinNetwork.h"

#include "WinError.h"

#include <algorithm>
#include <cstring>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <mutex>
#include <net/if.h>
#include <net/if_arp.h>
#include <optional>
#include <string>
#include <vector>

namespace
{
struct SAdapter
{
    std::string name;
    DWORD index = 0;
    UINT type = MIB_IF_TYPE_OTHER;
    std::vector<BYTE> address;
};

struct SInjection
{
    std::mutex lock;
    std::optional<std::vector<AdapterAddress>> addresses;
};

SInjection& GetInjection()
{
    static SInjection injection;
    return injection;
}

bool IsUsableAddress(const BYTE* address, std::size_t length)
{
    return length > 0 && std::any_of(address, address + length, [](BYTE b) { return b != 0; });
}

std::vector<SAdapter> GetSystemAdapters()
{
    std::vector<SAdapter> adapters;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
    {
        return adapters;
    }
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next)
    {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_PACKET ||
            (entry->ifa_flags & IFF_LOOPBACK) != 0)
        {
            continue;
        }
        const auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
        const std::size_t length =
            std::min<std::size_t>(link->sll_halen, MAX_ADAPTER_ADDRESS_LENGTH);
        if (link->sll_hatype == ARPHRD_LOOPBACK || !IsUsableAddress(link->sll_addr, length))
        {
            continue;
        }
        SAdapter adapter;
        adapter.name = entry->ifa_name != nullptr ? entry->ifa_name : "";
        adapter.index = static_cast<DWORD>(link->sll_ifindex);
        adapter.type = link->sll_hatype == ARPHRD_ETHER ? MIB_IF_TYPE_ETHERNET : MIB_IF_TYPE_OTHER;
        adapter.address.assign(link->sll_addr, link->sll_addr + length);
        adapters.push_back(std::move(adapter));
    }
    freeifaddrs(list);
    std::sort(adapters.begin(), adapters.end(),
              [](const SAdapter& a, const SAdapter& b) { return a.index < b.index; });
    return adapters;
}

std::vector<SAdapter> GetAdapters()
{
    SInjection& injection = GetInjection();
    {
        std::lock_guard guard(injection.lock);
        if (injection.addresses.has_value())
        {
            std::vector<SAdapter> adapters;
            for (const AdapterAddress& address : *injection.addresses)
            {
                const auto index = static_cast<DWORD>(adapters.size() + 1);
                adapters.push_back({"eth" + std::to_string(index - 1), index, MIB_IF_TYPE_ETHERNET,
                                    std::vector<BYTE>(address.begin(), address.end())});
            }
            return adapters;
        }
    }
    return GetSystemAdapters();
}

void CopyText(char* target, std::size_t capacity, const std::string& text)
{
    const std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
}
} // namespace

DWORD GetAdaptersInfo(PIP_ADAPTER_INFO adapterInfo, PULONG size)
{
    if (size == nullptr)
    {
        return ERROR_INVALID_PARAMETER;
    }
    const std::vector<SAdapter> adapters = GetAdapters();
    if (adapters.empty())
    {
        return ERROR_NO_DATA;
    }
    const auto needed = static_cast<ULONG>(adapters.size() * sizeof(IP_ADAPTER_INFO));
    if (adapterInfo == nullptr || *size < needed)
    {
        *size = needed;
        return ERROR_BUFFER_OVERFLOW;
    }
    for (std::size_t i = 0; i < adapters.size(); ++i)
    {
        IP_ADAPTER_INFO& info = adapterInfo[i];
        info = IP_ADAPTER_INFO{};
        info.Next = i + 1 < adapters.size() ? &adapterInfo[i + 1] : nullptr;
        info.ComboIndex = adapters[i].index;
        info.Index = adapters[i].index;
        info.Type = adapters[i].type;
        CopyText(info.AdapterName, sizeof info.AdapterName, adapters[i].name);
        CopyText(info.Description, sizeof info.Description, adapters[i].name);
        info.AddressLength = static_cast<UINT>(adapters[i].address.size());
        std::copy(adapters[i].address.begin(), adapters[i].address.end(), info.Address);
    }
    return ERROR_SUCCESS;
}

void SetInjectedAdapterAddresses(std::span<const AdapterAddress> addresses)
{
    SInjection& injection = GetInjection();
    std::lock_guard guard(injection.lock);
    injection.addresses.emplace(addresses.begin(), addresses.end());
}

void ClearInjectedAdapterAddresses()
{
    SInjection& injection = GetInjection();
    std::lock_guard guard(injection.lock);
    injection.addresses.reset();
}
