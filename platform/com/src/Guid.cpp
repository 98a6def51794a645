#include <cstdio>

#include "ondrelo/com.h"

namespace ondrelo::com {

std::string GuidToString(REFGUID guid) {
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  guid.Data1, guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2],
                  guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

}  // namespace ondrelo::com

HRESULT CLSIDFromString(const char* lpsz, LPCLSID pclsid) {
    if (pclsid == nullptr) {
        return E_INVALIDARG;
    }
    *pclsid = GUID_NULL;
    if (lpsz == nullptr || !ondrelo::com::ParseGuid(lpsz, *pclsid)) {
        return CO_E_CLASSSTRING;
    }
    return S_OK;
}

HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
    if (pclsid == nullptr) {
        return E_INVALIDARG;
    }
    *pclsid = GUID_NULL;
    if (lpsz == nullptr) {
        return CO_E_CLASSSTRING;
    }
    // Only ASCII can form an identifier; stop at anything wider or longer.
    char narrow[40];
    std::size_t n = 0;
    for (; lpsz[n] != 0; ++n) {
        if (n >= 38 || lpsz[n] > 0x7F) {
            return CO_E_CLASSSTRING;
        }
        narrow[n] = static_cast<char>(lpsz[n]);
    }
    narrow[n] = '\0';
    return CLSIDFromString(narrow, pclsid);
}

int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax) {
    if (lpsz == nullptr || cchMax < 39) {
        return 0;
    }
    const std::string text = ondrelo::com::GuidToString(rguid);
    for (std::size_t i = 0; i < text.size(); ++i) {
        lpsz[i] = static_cast<WCHAR>(text[i]);
    }
    lpsz[text.size()] = 0;
    return static_cast<int>(text.size() + 1);
}
