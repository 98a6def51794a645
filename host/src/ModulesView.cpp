#include "ModulesView.h"

#include <QBitmap>
#include <QHeaderView>

#include "Resources.h"

const char* const CModulesView::kRootText = "Modules";

namespace {

// A tree image with white as the transparent colour.
QPixmap TreeImage(int id) {
    QPixmap image = ondrelo::host::LoadProgramBitmap(id);
    if (!image.isNull()) {
        image.setMask(image.createMaskFromColor(Qt::white));
    }
    return image;
}

QTreeWidgetItem* ToItem(HTREEITEM item) {
    return reinterpret_cast<QTreeWidgetItem*>(item);
}
HTREEITEM ToHandle(QTreeWidgetItem* item) {
    return reinterpret_cast<HTREEITEM>(item);
}

}  // namespace

CModulesView::CModulesView(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("CModulesView"));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(true);
    setDragEnabled(false);
    setAcceptDrops(false);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setIndentation(18);
    // Keep the selection visible while the focus is in the module pane.
    QPalette pal = palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { OnSelectionChanged(current); });
}

CModulesView::~CModulesView() = default;

void CModulesView::OnInitialUpdate() {
    if (m_root != nullptr) {
        return;
    }
    m_images = QIcon();
    const QPixmap normal = TreeImage(ondrelo::host::IDB_TREE_ITEM);
    const QPixmap selected = TreeImage(ondrelo::host::IDB_TREE_SELECTED);
    if (!normal.isNull()) {
        m_images.addPixmap(normal, QIcon::Normal);
    }
    if (!selected.isNull()) {
        m_images.addPixmap(selected, QIcon::Selected);
    }
    m_root = Insert(nullptr, QString::fromLatin1(kRootText), 0);
}

std::uintptr_t CModulesView::ItemData(const QTreeWidgetItem* item) {
    return item == nullptr ? 0 : item->data(0, Qt::UserRole).value<qulonglong>();
}

QTreeWidgetItem* CModulesView::Insert(QTreeWidgetItem* parent, const QString& text,
                                      std::uintptr_t data) {
    auto* item = new QTreeWidgetItem;
    item->setText(0, text);
    item->setData(0, Qt::UserRole, QVariant::fromValue<qulonglong>(data));
    item->setIcon(0, m_images);
    // Sorted among its siblings, without regard to case.
    const int count = parent != nullptr ? parent->childCount() : topLevelItemCount();
    int at = 0;
    while (at < count) {
        const QTreeWidgetItem* sibling = parent != nullptr ? parent->child(at) : topLevelItem(at);
        if (QString::compare(sibling->text(0), text, Qt::CaseInsensitive) > 0) {
            break;
        }
        ++at;
    }
    if (parent != nullptr) {
        parent->insertChild(at, item);
    } else {
        insertTopLevelItem(at, item);
    }
    // Make it visible: every ancestor expanded.
    for (QTreeWidgetItem* up = parent; up != nullptr; up = up->parent()) {
        up->setExpanded(true);
    }
    scrollToItem(item);
    return item;
}

HTREEITEM CModulesView::InsertItem(HTREEITEM parent, const std::string& text, std::uintptr_t data) {
    if (m_root == nullptr) {
        OnInitialUpdate();
    }
    QTreeWidgetItem* under = parent != nullptr ? ToItem(parent) : m_root;
    return ToHandle(Insert(under, QString::fromStdString(text), data));
}

void CModulesView::ExpandRoot() {
    if (m_root != nullptr) {
        m_root->setExpanded(true);
    }
}

void CModulesView::OnSelectionChanged(QTreeWidgetItem* current) {
    if (m_catalogue != nullptr && current != nullptr) {
        m_catalogue->Select(ItemData(current));
    }
}
