// The editable link table of both wizards' link pages, and the group of
// controls around it: the text box and the free-text drop-down below the
// table that mirror the current cell, and "&Update".
//
// The table draws a CLinkTable (the data and its rules live in the core):
// a fixed header row, a current cell moved by the arrow keys or the mouse,
// and a one-line editor over the current cell, opened by a double click
// (whole text selected), by Enter or F2, or by typing a character (which is
// appended to the cell's text). The editor's text goes into its cell when
// the current cell is left, when the table gets the focus back, or when the
// text box below takes the focus; Escape drops it.
#pragma once

#include <QAbstractScrollArea>
#include <QWidget>
#include <functional>
#include <set>
#include <string>

#include "smallset/LinkTable.h"

class CButtonST;
class QComboBox;
class QLineEdit;

namespace smallset {

class CLinkGrid : public QAbstractScrollArea {
public:
    CLinkGrid(CLinkTable& table, QWidget* parent);

    CLinkTable& Table() { return m_table; }
    // Columns edited in place with a free-text drop-down of the targets.
    void SetDropDownColumn(int col) { m_dropColumns.insert(col); }

    // Redraws after the table changed underneath (rows added, refilled).
    void Refresh();
    void SetCurrent(int row, int col);

    // The in-place editor: opened over the current cell with the given text;
    // selectAll selects it, else the caret goes to its end.
    void OpenEditor(const std::string& text, bool selectAll);
    bool IsEditing() const;
    // Writes a visible editor's text into its cell and closes it.
    void CommitEditor();
    void CancelEditor();
    QWidget* Editor() const;

    int RowHeight() const;
    QRect CellRect(int row, int col) const;  // in viewport coordinates
    // The cell at a viewport point; false over the header or outside.
    bool CellAt(const QPoint& point, int& row, int& col) const;

    // Called when the current cell changed and when the table's text did.
    std::function<void()> onCurrentChanged;
    std::function<void()> onCellChanged;
    // Called with the editor's text as it is typed.
    std::function<void(const std::string&)> onEditorText;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateScrollBar();
    void EnsureVisible(int row);
    void PlaceEditor();
    std::string EditorText() const;

    CLinkTable& m_table;
    std::set<int> m_dropColumns;
    QLineEdit* m_line;
    QComboBox* m_drop;
    QWidget* m_editor = nullptr;  // the visible one, or null
    int m_editRow = 0;
    int m_editCol = 0;
};

// The table with the text box, the drop-down and "&Update" below it. The
// drop-down takes the text box's place while the current cell is in a
// column that has one (withDropDown); otherwise the text box mirrors every
// column but those.
class CLinkTableGroup {
public:
    struct SIds {
        int table, textBox, update, dropDown;  // dropDown 0: none below the table
    };
    CLinkTableGroup(QWidget* page, CLinkTable& table, const SIds& ids, int targetColumn,
                    bool inPlaceDropDown);

    CLinkGrid* Grid() const { return m_grid; }
    QLineEdit* TextBox() const { return m_box; }
    QComboBox* DropDown() const { return m_drop; }
    CButtonST* UpdateButton() const { return m_update; }

    // Places the controls: the table in tableRect, the box (and drop-down)
    // and the button on one line below it.
    void Place(const QRect& tableRect, const QRect& boxRect, const QRect& updateRect);
    // Shows the current cell below the table.
    void ShowCurrentCell();
    // Writes what is shown below the table into the current cell.
    void WriteShownText();
    // Closes a visible editor, keeping its text: before the table is read.
    void Commit();

private:
    bool ShownInDropDown() const;

    CLinkGrid* m_grid;
    QLineEdit* m_box;
    QComboBox* m_drop = nullptr;
    CButtonST* m_update;
    int m_targetColumn;
};

}  // namespace smallset
