#include "ondrelo/ListCtrlEx.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace {
constexpr int kSubItemRole = Qt::UserRole + 1;
}

CListCtrlEx::CListCtrlEx(QWidget* parent) : QTableWidget(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

int CListCtrlEx::AddColumn(const std::string& heading, int column, int subItem, int mask,
                           int format) {
    if (column < 0) {
        return -1;
    }
    const int index = std::min(column, columnCount());
    insertColumn(index);
    const QString text = QString::fromStdString(heading);
    auto* header = new QTableWidgetItem(text);
    Qt::Alignment align = Qt::AlignLeft;
    if ((format & 3) == LVCFMT_RIGHT) {
        align = Qt::AlignRight;
    }
    if ((format & 3) == LVCFMT_CENTER) {
        align = Qt::AlignHCenter;
    }
    header->setTextAlignment(align | Qt::AlignVCenter);
    if (mask & LVCF_SUBITEM) {
        header->setData(kSubItemRole, subItem == -1 ? index : subItem);
    }
    setHorizontalHeaderItem(index, header);
    setColumnWidth(index, horizontalHeader()->fontMetrics().horizontalAdvance(text) + 15);
    return index;
}

int CListCtrlEx::ColumnSubItem(int column) const {
    const QTableWidgetItem* header = horizontalHeaderItem(column);
    if (!header) {
        return -1;
    }
    const QVariant v = header->data(kSubItemRole);
    return v.isValid() ? v.toInt() : -1;
}

void CListCtrlEx::SetCell(int row, int column, const std::string& text, int image) {
    QTableWidgetItem* cell = item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem;
        setItem(row, column, cell);
    }
    cell->setText(QString::fromStdString(text));
    if (image != -1) {
        const CImageList* list =
            m_images[LVSIL_SMALL] ? m_images[LVSIL_SMALL] : m_images[LVSIL_NORMAL];
        cell->setIcon(list && image >= 0 && image < list->size() ? list->at(image) : QIcon());
    }
}

int CListCtrlEx::AddItem(int row, int column, const std::string& text, int image) {
    if (column == 0) {
        if (row < 0 || columnCount() == 0) {
            return -1;
        }
        const int index = std::min(row, rowCount());
        insertRow(index);
        SetCell(index, 0, text, image);
        return index;
    }
    return ChangeItem(row, column, text, image);
}

int CListCtrlEx::ChangeItem(int row, int column, const std::string& text, int image) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        return 0;
    }
    SetCell(row, column, text, image);
    return 1;
}

const CImageList* CListCtrlEx::SetImageList(const CImageList* list, int kind) {
    if (kind < 0 || kind > 2) {
        return nullptr;
    }
    const CImageList* previous = m_images[kind];
    m_images[kind] = list;
    if (kind != LVSIL_STATE && list && !list->isEmpty()) {
        const QList<QSize> sizes = list->front().availableSizes();
        if (!sizes.isEmpty()) {
            setIconSize(sizes.front());
        }
    }
    return previous;
}

std::string CListCtrlEx::ItemText(int row, int column) const {
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text().toStdString() : std::string();
}

bool CListCtrlEx::event(QEvent* e) {
    // Ask for every key before the dialog's shortcuts see it.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
            key->key() == Qt::Key_Escape) {
            e->accept();
            return true;
        }
    }
    return QTableWidget::event(e);
}

void CListCtrlEx::keyPressEvent(QKeyEvent* e) {
    QTableWidget::keyPressEvent(e);
    // Enter and Escape stay with the list instead of closing the dialog.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape) {
        e->accept();
    }
}
