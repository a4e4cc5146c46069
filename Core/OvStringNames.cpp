#include "OvStringNames.h"

#include "OvStringFormat.h"
#include "OvStringNumbers.h"

#include <objbase.h>

OvString NextCounterName(const wchar_t* text)
{
    OvString name(text);
    const int length = name.Length();
    int counter = 1;
    bool blank = true;
    if (length >= 3 && name[length - 1] == L')') {
        int first = length - 1;
        while (first > 0 && name[first - 1] >= L'0' && name[first - 1] <= L'9') --first;
        const int digits = length - 1 - first;
        if (digits >= 1 && digits <= 4 && name[first] != L'0' && first >= 1 && name[first - 1] == L'(') {
            counter = ParseInt(name.c_str() + first) + 1;
            int cut = first - 1;
            blank = cut > 0 && name[cut - 1] == L' ';
            if (blank) --cut;
            name = name.Left(cut);
        }
    }
    return name + OvFormat(L"%s(%d)", blank ? L" " : L"", counter);
}

OvString NewGuidText()
{
    GUID guid = {};
    if (FAILED(CoCreateGuid(&guid))) return OvString();
    return OvFormat(L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.Data1, guid.Data2, guid.Data3,
                    guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                    guid.Data4[6], guid.Data4[7]);
}
