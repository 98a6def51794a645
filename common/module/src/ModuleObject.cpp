#include "ondrelo/ModuleObject.h"

#include "ondrelo/OndException.h"
#include "ondrelo/OndUtils.h"

namespace ondrelo {

namespace {

// Runs one call of the toolkit layer; an exception from it is recorded and
// goes no further, so that no module call throws into the host.
template <class F>
bool Guarded(const char* what, F&& body) {
    try {
        body();
        return true;
    } catch (COndException* e) {
        TraceLastError(std::string(what) + ": " + e->GetErrorString());
        delete e;
    } catch (const std::exception& e) {
        TraceLastError(std::string(what) + ": " + e.what());
    } catch (...) {
        TraceLastError(std::string(what) + ": unknown exception");
    }
    return false;
}

}  // namespace

IModuleSheet::~IModuleSheet() = default;

COndModuleObject::COndModuleObject(const SModuleDescriptor& descriptor) : m_descriptor(descriptor) {
    Utf8ToUtf16(m_descriptor.displayName ? m_descriptor.displayName : "", m_name, kNameBufferSize);
}

COndModuleObject::~COndModuleObject() {
    CModuleResourceScope scope(m_descriptor.resources);
    DestroySheet();
}

void COndModuleObject::DestroySheet() {
    if (!m_sheet) {
        return;
    }
    Guarded("module sheet destruction", [&] {
        if (m_sheet->IsWindowAlive()) {
            m_sheet->DestroyWindow();
        }
    });
    m_sheet.reset();
}

HRESULT COndModuleObject::Create(HWND hwndParent, RECT rectInit) {
    CModuleResourceScope scope(m_descriptor.resources);
    if (m_sheet) {
        // A second Create keeps the living sheet rather than orphaning it.
        if (m_sheet->IsWindowAlive()) {
            return S_OK;
        }
        DestroySheet();
    }
    if (m_descriptor.createSheet == nullptr) {
        TraceLastError("module has no wizard sheet factory");
        return S_OK;
    }
    Guarded("module sheet creation", [&] {
        m_sheet = m_descriptor.createSheet();
        if (m_sheet && !m_sheet->Create(hwndParent, rectInit)) {
            TraceLastError(std::string("the wizard sheet of ") + m_descriptor.displayName +
                           " could not create its window");
        }
    });
    return S_OK;
}

HRESULT COndModuleObject::Show() {
    CModuleResourceScope scope(m_descriptor.resources);
    if (!m_sheet) {
        return S_FALSE;
    }
    if (m_sheet->IsWindowAlive()) {
        Guarded("module show", [&] {
            m_sheet->ShowWindow(true);
            m_sheet->OnParentResize();
        });
    }
    return S_OK;
}

HRESULT COndModuleObject::Hide() {
    CModuleResourceScope scope(m_descriptor.resources);
    if (!m_sheet) {
        return S_FALSE;
    }
    if (m_sheet->IsWindowAlive()) {
        Guarded("module hide", [&] { m_sheet->ShowWindow(false); });
    }
    return S_OK;
}

HRESULT COndModuleObject::Resize() {
    CModuleResourceScope scope(m_descriptor.resources);
    if (!m_sheet || !m_sheet->IsWindowAlive()) {
        return S_FALSE;
    }
    Guarded("module resize", [&] { m_sheet->OnParentResize(); });
    return S_OK;
}

HRESULT COndModuleObject::Destroy() {
    CModuleResourceScope scope(m_descriptor.resources);
    DestroySheet();
    return S_OK;
}

HRESULT COndModuleObject::GetProperties(LPCOLESTR* pstrName) {
    CModuleResourceScope scope(m_descriptor.resources);
    if (pstrName == nullptr) {
        return E_POINTER;
    }
    *pstrName = m_name;
    return S_OK;
}

HRESULT COndModuleObject::IsDialogMessage(BOOL* pbDMsg, MSG* /*pmsg*/) {
    CModuleResourceScope scope(m_descriptor.resources);
    if (pbDMsg == nullptr) {
        return E_POINTER;
    }
    *pbDMsg = 0;
    return S_OK;
}

void* COndModuleObject::GetInterface(REFIID riid) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOndModule)) {
        return static_cast<IOndModule*>(this);
    }
    return QueryExtraInterface(riid);
}

void* COndModuleObject::QueryExtraInterface(REFIID /*riid*/) {
    return nullptr;
}

int Utf8ToUtf16(const std::string& text, WCHAR* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    int out = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::uint32_t cp = 0xFFFD;
        std::size_t length = 1;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead >> 5) == 0x6) {
            length = 2;
            cp = lead & 0x1Fu;
        } else if ((lead >> 4) == 0xE) {
            length = 3;
            cp = lead & 0x0Fu;
        } else if ((lead >> 3) == 0x1E) {
            length = 4;
            cp = lead & 0x07u;
        }
        if (length > 1) {
            bool valid = i + length <= text.size();
            for (std::size_t k = 1; valid && k < length; ++k) {
                const auto cont = static_cast<unsigned char>(text[i + k]);
                valid = (cont >> 6) == 0x2;
                cp = (cp << 6) | (cont & 0x3Fu);
            }
            if (!valid || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
                // Not UTF-8: take the byte as a Latin-1 character.
                cp = lead;
                length = 1;
            }
        }
        const int units = cp >= 0x10000 ? 2 : 1;
        if (out + units > size - 1) {
            break;
        }
        if (units == 2) {
            cp -= 0x10000;
            buffer[out++] = static_cast<WCHAR>(0xD800 + (cp >> 10));
            buffer[out++] = static_cast<WCHAR>(0xDC00 + (cp & 0x3FF));
        } else {
            buffer[out++] = static_cast<WCHAR>(cp);
        }
        i += length;
    }
    buffer[out] = 0;
    return out;
}

std::string Utf16ToUtf8(LPCOLESTR text, std::size_t maxBytes) {
    std::string out;
    if (text == nullptr) {
        return out;
    }
    for (std::size_t i = 0; text[i] != 0; ++i) {
        std::uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        char bytes[4];
        std::size_t n = 0;
        if (cp < 0x80) {
            bytes[n++] = static_cast<char>(cp);
        } else if (cp < 0x800) {
            bytes[n++] = static_cast<char>(0xC0 | (cp >> 6));
            bytes[n++] = static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            bytes[n++] = static_cast<char>(0xE0 | (cp >> 12));
            bytes[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            bytes[n++] = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            bytes[n++] = static_cast<char>(0xF0 | (cp >> 18));
            bytes[n++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            bytes[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            bytes[n++] = static_cast<char>(0x80 | (cp & 0x3F));
        }
        if (out.size() + n > maxBytes) {
            break;
        }
        out.append(bytes, n);
    }
    return out;
}

com::COndServerModule::CallContext ResourceContext(const SModuleResources* res) {
    return [res](const std::function<void()>& body) {
        CModuleResourceScope scope(res);
        body();
    };
}

}  // namespace ondrelo
