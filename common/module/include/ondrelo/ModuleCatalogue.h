// The host's catalogue of modules: reads the module list from the settings
// store, creates every module, lets it make its window in the module pane,
// shows the modules as a tree, switches the visible module and passes
// keyboard messages and size changes on to it. Free of any window toolkit:
// the tree and the pane are reached through the interfaces below.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ondrelo/OndModule.h"
#include "ondrelo/ondmodule_export.h"
#include "ondrelo/registry.h"

// Opaque tree item handle of the tree view; null stands for "no parent"
// (insert under the root item).
struct OndTreeItem;
using HTREEITEM = OndTreeItem*;

// The tree of the left-hand pane, as the catalogue uses it.
class ONDMODULE_EXPORT IModuleTree {
public:
    virtual ~IModuleTree();
    // Inserts text under parent (null: the root item), sorted among its
    // siblings, images 0 and 1, item data `data`, and makes it visible.
    virtual HTREEITEM InsertItem(HTREEITEM parent, const std::string& text,
                                 std::uintptr_t data) = 0;
    virtual void ExpandRoot() = 0;
};

// What the module pane asks of the catalogue.
class ONDMODULE_EXPORT IModuleHost {
public:
    virtual ~IModuleHost();
    // Offers a queued message to the visible module; true when it consumed it.
    virtual bool IsDialogMessage(MSG* msg) = 0;
    // The pane changed size: the visible module fits itself to it.
    virtual void Resize() = 0;
    virtual bool HasActiveModule() const = 0;
};

// Why an entry of the module list was left out of the tree.
enum class ESkipReason {
    TooDeep,         // nested deeper than kMaxNesting levels
    CannotOpen,      // the entry's key cannot be opened
    NoClsid,         // no CLSID text value that fits
    BadClsid,        // the CLSID text is not a class identifier
    CannotCreate,    // the class cannot be created as an IOndModule
    NoDisplayName,   // GetProperties failed or gave no name
};

// One left-out entry: the reason, the entry's name or class identifier text,
// and the status the failing call gave (also traced).
struct SSkippedEntry {
    ESkipReason reason;
    std::string entry;
    LONG status = 0;
};

struct SModuleEntry {
    CLSID clsid{};
    IOndModule* module = nullptr;  // one reference, released by ReleaseAll
    std::string name;              // display name, at most 255 bytes
};

class ONDMODULE_EXPORT CModuleCatalogue : public IModuleHost {
public:
    // Gives the client rectangle of the module pane (left = top = 0).
    using ClientRectFn = std::function<RECT(HWND)>;

    CModuleCatalogue(IModuleTree* tree, HWND modulePane, ClientRectFn clientRect = {});
    ~CModuleCatalogue() override;
    CModuleCatalogue(const CModuleCatalogue&) = delete;
    CModuleCatalogue& operator=(const CModuleCatalogue&) = delete;

    // Reads the module list and creates the modules. False only when the
    // list key cannot be opened.
    bool Load();
    // Makes module `index` (1-based) the visible one; 0, out-of-range and
    // the visible module's own index change nothing.
    void Select(std::uintptr_t index);
    // Releases every module once, in creation order, and empties the list.
    void ReleaseAll();

    bool IsDialogMessage(MSG* msg) override;
    void Resize() override;
    bool HasActiveModule() const override;

    const std::vector<SModuleEntry>& Entries() const { return m_entries; }
    // The entries the last Load left out, in the order met.
    const std::vector<SSkippedEntry>& Skipped() const { return m_skipped; }
    std::uintptr_t Current() const { return m_current; }

    static const char* const kModulesKey;  // COndRegistryHandler::kModulesKey
    static constexpr DWORD kNameBufferSize = 260;
    static constexpr DWORD kClsidBufferSize = 260;
    // Deepest level of the module list that is visited (top-level entries
    // are level 1). The store itself holds keys no deeper than
    // kMaxKeyDepth below their root; the catalogue stops a little above
    // that, so that a damaged store can never exhaust the stack and the
    // limit is met before the store's own.
    static constexpr int kMaxNesting = kMaxKeyDepth - 12;

protected:
    // The two per-entry steps of Load.
    virtual void AddModule(HKEY key, HTREEITEM parent);
    virtual void AddGroup(HKEY key, const std::string& name, HTREEITEM parent);
    // Opens a sub key and adds it as a group (Type = 1) or a module.
    void VisitSubKey(HKEY key, const std::string& name, HTREEITEM parent);
    // Records a left-out entry and traces it with its status.
    void Skip(ESkipReason reason, const std::string& entry, LONG status, const std::string& text);

private:
    IModuleTree* m_tree;
    HWND m_pane;
    ClientRectFn m_clientRect;
    std::vector<SModuleEntry> m_entries;
    std::vector<SSkippedEntry> m_skipped;
    std::uintptr_t m_current = 0;
    int m_depth = 0;  // groups being visited
};
