// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "link/serialcomm.h"

#ifdef Q_OS_WIN

#include <windows.h>

#include <vector>

QList<SerialCommEntry> serialCommEntries()
{
    QList<SerialCommEntry> entries;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE,
                      &key) != ERROR_SUCCESS)
        return entries;
    DWORD longestName = 0;
    DWORD largestData = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &longestName, &largestData, nullptr, nullptr);
    std::vector<wchar_t> name(longestName + 1);
    std::vector<wchar_t> data(largestData / sizeof(wchar_t) + 1);
    int regrown = 0;
    for (DWORD index = 0;;) {
        DWORD nameLength = DWORD(name.size());
        DWORD dataBytes = DWORD((data.size() - 1) * sizeof(wchar_t)); // room for a closing zero
        DWORD type = 0;
        const LONG result = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                                          reinterpret_cast<BYTE *>(data.data()), &dataBytes);
        if (result == ERROR_MORE_DATA && regrown++ < 8) {
            // A driver added a longer value since the sizes were asked for.
            name.resize(name.size() * 2);
            data.resize(data.size() * 2);
            continue;
        }
        if (result != ERROR_SUCCESS)
            break; // ERROR_NO_MORE_ITEMS, or a key that changes faster than it can be read
        ++index;
        if (type != REG_SZ)
            continue;
        int length = int(dataBytes / sizeof(wchar_t));
        while (length > 0 && data[size_t(length - 1)] == L'\0')
            --length;
        entries.append({QString::fromWCharArray(name.data(), int(nameLength)),
                        QString::fromWCharArray(data.data(), length)});
    }
    RegCloseKey(key);
    return entries;
}

#endif
