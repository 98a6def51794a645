#include "ondrelo/ModuleCatalogue.h"

#include <cstring>

#include "ondrelo/ModuleObject.h"
#include "ondrelo/OndUtils.h"
#include "ondrelo/OndRegistryHandler.h"

namespace {

void Trace(LONG status, const std::string& reason) {
    SetLastError(static_cast<std::uint32_t>(status));
    TraceLastError(reason);
}

}  // namespace

IModuleTree::~IModuleTree() = default;
IModuleHost::~IModuleHost() = default;

const char* const CModuleCatalogue::kModulesKey = COndRegistryHandler::kModulesKey;

CModuleCatalogue::CModuleCatalogue(IModuleTree* tree, HWND modulePane, ClientRectFn clientRect)
    : m_tree(tree), m_pane(modulePane), m_clientRect(std::move(clientRect)) {}

CModuleCatalogue::~CModuleCatalogue() {
    ReleaseAll();
}

void CModuleCatalogue::Skip(ESkipReason reason, const std::string& entry, LONG status,
                            const std::string& text) {
    m_skipped.push_back({reason, entry, status});
    Trace(status, text);
}

bool CModuleCatalogue::Load() {
    m_skipped.clear();
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kModulesKey, 0, KEY_READ, &key);
    if (status != ERROR_SUCCESS) {
        Trace(status, std::string("module list ") + kModulesKey + " cannot be opened");
        return false;
    }
    for (DWORD index = 0;; ++index) {
        char name[kNameBufferSize];
        DWORD size = kNameBufferSize;
        const LONG enumStatus =
            RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (enumStatus != ERROR_SUCCESS) {
            // The normal end of the list as well as a failure.
            Trace(enumStatus, "module list enumeration ended at entry " + std::to_string(index));
            break;
        }
        VisitSubKey(key, std::string(name, size), nullptr);
    }
    RegCloseKey(key);
    if (m_tree != nullptr) {
        m_tree->ExpandRoot();
    }
    m_current = 0;
    return true;
}

void CModuleCatalogue::VisitSubKey(HKEY key, const std::string& name, HTREEITEM parent) {
    if (m_depth >= kMaxNesting) {
        Skip(ESkipReason::TooDeep, name, ERROR_INVALID_PARAMETER,
             "module list entry " + name + " skipped: nested deeper than " +
                 std::to_string(kMaxNesting) + " levels");
        return;
    }
    HKEY sub = nullptr;
    const LONG status = RegOpenKeyExA(key, name.c_str(), 0, KEY_READ, &sub);
    if (status != ERROR_SUCCESS) {
        Skip(ESkipReason::CannotOpen, name, status,
             "module list entry " + name + " cannot be opened");
        return;
    }
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG typeStatus =
        RegQueryValueExA(sub, "Type", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (typeStatus == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value && value == 1) {
        AddGroup(sub, name, parent);
    } else {
        AddModule(sub, parent);
    }
    RegCloseKey(sub);
}

void CModuleCatalogue::AddGroup(HKEY key, const std::string& name, HTREEITEM parent) {
    HTREEITEM item = m_tree != nullptr ? m_tree->InsertItem(parent, name, 0) : nullptr;
    ++m_depth;
    for (DWORD index = 0;; ++index) {
        char child[kNameBufferSize];
        DWORD size = kNameBufferSize;
        const LONG status =
            RegEnumKeyExA(key, index, child, &size, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS) {
            if (status != ERROR_NO_MORE_ITEMS) {
                Trace(status, "module group " + name + ": enumeration stopped at entry " +
                                  std::to_string(index));
            }
            break;
        }
        VisitSubKey(key, std::string(child, size), item);
    }
    --m_depth;
}

void CModuleCatalogue::AddModule(HKEY key, HTREEITEM parent) {
    char text[kClsidBufferSize];
    DWORD type = REG_NONE;
    DWORD size = kClsidBufferSize;
    const LONG status =
        RegQueryValueExA(key, "CLSID", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    if (status != ERROR_SUCCESS || type != REG_SZ) {
        Skip(ESkipReason::NoClsid, "", status != ERROR_SUCCESS ? status : ERROR_INVALID_PARAMETER,
             "module entry skipped: no CLSID text that fits");
        return;
    }
    const std::string clsidText(text, strnlen(text, size));
    WCHAR wide[257];
    ondrelo::Utf8ToUtf16(clsidText, wide, 257);
    CLSID clsid{};
    HRESULT hr = CLSIDFromString(wide, &clsid);
    if (FAILED(hr)) {
        Skip(ESkipReason::BadClsid, clsidText, hr,
             "module entry skipped: '" + clsidText + "' is not a class identifier");
        return;
    }
    IOndModule* module = nullptr;
    hr = CoCreateInstance(clsid, nullptr,
                          CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                          IID_IOndModule, reinterpret_cast<void**>(&module));
    if (FAILED(hr) || module == nullptr) {
        Skip(ESkipReason::CannotCreate, clsidText, FAILED(hr) ? hr : E_NOINTERFACE,
             "module " + clsidText + " skipped: it cannot be created");
        return;
    }
    // A module that cannot name itself is left out rather than shown blank.
    LPCOLESTR wideName = nullptr;
    hr = module->GetProperties(&wideName);
    if (FAILED(hr) || wideName == nullptr) {
        Skip(ESkipReason::NoDisplayName, clsidText, FAILED(hr) ? hr : E_POINTER,
             "module " + clsidText + " skipped: GetProperties failed");
        module->Release();
        return;
    }
    SModuleEntry entry;
    entry.clsid = clsid;
    entry.module = module;
    entry.name = ondrelo::Utf16ToUtf8(wideName, 255);
    m_entries.push_back(std::move(entry));
    const std::uintptr_t index = m_entries.size();
    RECT rect{};
    if (m_clientRect) {
        rect = m_clientRect(m_pane);
    }
    module->Create(m_pane, rect);
    if (m_tree != nullptr) {
        m_tree->InsertItem(parent, m_entries.back().name, index);
    }
}

void CModuleCatalogue::Select(std::uintptr_t index) {
    if (index == 0 || index > m_entries.size() || index == m_current) {
        return;
    }
    if (m_current > 0) {
        m_entries[m_current - 1].module->Hide();
    }
    m_entries[index - 1].module->Show();
    m_current = index;
}

bool CModuleCatalogue::IsDialogMessage(MSG* msg) {
    if (m_current == 0) {
        return false;
    }
    BOOL consumed = 0;
    const HRESULT hr = m_entries[m_current - 1].module->IsDialogMessage(&consumed, msg);
    return SUCCEEDED(hr) && consumed > 0;
}

void CModuleCatalogue::Resize() {
    if (m_current > 0) {
        m_entries[m_current - 1].module->Resize();
    }
}

bool CModuleCatalogue::HasActiveModule() const {
    return m_current > 0;
}

void CModuleCatalogue::ReleaseAll() {
    // The list is taken first so that a module released here never sees a
    // half-emptied catalogue; no module is visible afterwards.
    std::vector<SModuleEntry> entries;
    entries.swap(m_entries);
    m_current = 0;
    for (SModuleEntry& entry : entries) {
        if (entry.module != nullptr) {
            entry.module->Release();
        }
    }
}
