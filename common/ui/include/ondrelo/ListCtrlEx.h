// A report-style list: columns with headings, rows of cells, an optional
// icon per cell, and the keyboard kept while it has the focus.
#pragma once

#include <QIcon>
#include <QList>
#include <QTableWidget>
#include <string>

#include "ondrelo/common_export.h"

// Column formats and the mask bit that names a column's sub-item.
inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;
inline constexpr int LVCFMT_CENTER = 2;
inline constexpr int LVCF_SUBITEM = 8;
// Image list kinds.
inline constexpr int LVSIL_NORMAL = 0;
inline constexpr int LVSIL_SMALL = 1;
inline constexpr int LVSIL_STATE = 2;

using CImageList = QList<QIcon>;

class ONDCOMMON_EXPORT CListCtrlEx : public QTableWidget {
public:
    explicit CListCtrlEx(QWidget* parent = nullptr);

    // Inserts a column at the index (appended past the end), as wide as the
    // heading's text plus 15 pixels. Returns its index, or -1.
    int AddColumn(const std::string& heading, int column, int subItem = -1, int mask = 0,
                  int format = LVCFMT_LEFT);
    // Column 0 inserts a row at the index (appended past the end) and
    // returns its index, or -1; another column sets that cell of an
    // existing row and returns 1, or 0 when the row or column is missing.
    int AddItem(int row, int column, const std::string& text, int image = -1);
    // Sets the text (and the image, unless -1) of an existing cell: 1, or 0.
    int ChangeItem(int row, int column, const std::string& text, int image = -1);
    // Returns the list used before; null when none.
    const CImageList* SetImageList(const CImageList* list, int kind);
    // The sub-item recorded for a column, or -1.
    int ColumnSubItem(int column) const;
    std::string ItemText(int row, int column) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void SetCell(int row, int column, const std::string& text, int image);

    const CImageList* m_images[3] = {nullptr, nullptr, nullptr};
};
