// The module tree in the left-hand pane: the root "Modules", groups and
// modules sorted among their siblings, images 130 (items) and 131 (the
// selected item). A new selection makes its module the visible one.
#pragma once

#include <QTreeWidget>

#include "ondrelo/ModuleCatalogue.h"

class CModulesView : public QTreeWidget, public IModuleTree {
public:
    static const char* const kRootText;  // "Modules"

    explicit CModulesView(QWidget* parent = nullptr);
    ~CModulesView() override;

    // Makes the images and inserts the root item.
    void OnInitialUpdate();
    // The catalogue that a new selection is passed to (not owned).
    void SetCatalogue(CModuleCatalogue* catalogue) { m_catalogue = catalogue; }

    QTreeWidgetItem* RootItem() const { return m_root; }
    // The module index an item carries (0 for the root and groups).
    static std::uintptr_t ItemData(const QTreeWidgetItem* item);

    // IModuleTree
    HTREEITEM InsertItem(HTREEITEM parent, const std::string& text, std::uintptr_t data) override;
    void ExpandRoot() override;

private:
    QTreeWidgetItem* Insert(QTreeWidgetItem* parent, const QString& text, std::uintptr_t data);
    void OnSelectionChanged(QTreeWidgetItem* current);

    CModuleCatalogue* m_catalogue = nullptr;
    QTreeWidgetItem* m_root = nullptr;
    QIcon m_images;
};
