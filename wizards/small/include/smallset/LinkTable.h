// The editable link table of both wizards as data: a fixed header row, the
// rows below it, a current cell, and the rules of each wizard's link page.
#pragma once

#include <string>
#include <vector>

#include "smallset/AffLink.h"
#include "smallset/DLinkCodeGen.h"

namespace smallset {

// The targets the drop-down offers, in this order; other text is a frame name.
const std::vector<std::string>& TargetChoices();

class CLinkTable {
public:
    explicit CLinkTable(std::vector<std::string> headers);

    // Rows including the header row (row 0).
    int GetRows() const { return static_cast<int>(m_rows.size()); }
    int GetCols() const { return static_cast<int>(m_rows.front().size()); }
    const std::string& GetCell(int row, int col) const;
    void SetCell(int row, int col, const std::string& text);

    int GetRow() const { return m_row; }
    int GetCol() const { return m_col; }
    // Makes the cell current, kept inside the rows below the header.
    void SetCurrent(int row, int col);
    // Moves the current cell by the given steps, stopping at the edges.
    void Move(int rows, int cols) { SetCurrent(m_row + rows, m_col + cols); }

    // Inserts a row just below the current one, which becomes current.
    void InsertRowBelow(const std::vector<std::string>& cells);
    // Removes the current row unless it is the only row below the header.
    bool RemoveCurrentRow();
    // Drops every row below the header but one, whose cells are blanked.
    void Clear();

    // Width of each column: an equal share of the inner width (the client
    // width less 2 pixels on each side).
    static int ColumnWidth(int clientWidth, int columns);

private:
    std::vector<std::vector<std::string>> m_rows;
    int m_row = 1;
    int m_col = 0;
};

// Columns of the drop-down's table, and of the link editor's.
enum EDLinkColumn { kDLinkLabel = 0, kDLinkLink = 1, kDLinkTarget = 2 };
enum EAffLinkColumn { kAffLabel = 0, kAffLink = 1, kAffStatus = 2, kAffTarget = 3 };

inline constexpr const char* kPromptLabel = "Select Link ...";
inline constexpr const char* kNoLinksInList = "Error: No links in the list";
inline constexpr const char* kLastRowCantGo = "The last row can't be deleted!";

// The drop-down's link page.
CLinkTable MakeDLinkTable();  // the prompt row and an empty row targeting "_blank"
void AddDLinkRow(CLinkTable& table);
// Removes the current row, or says why it cannot.
bool RemoveDLinkRow(CLinkTable& table);
// The list as the table holds it, every row in order (the prompt row too).
void TableToDLinkList(const CLinkTable& table, CDLinkList& list);
// Whether the page may be left forwards; says why not.
bool DLinkTableHasLinks(const CLinkTable& table);

// The link editor's link page.
CLinkTable MakeAffLinkTable();
// Refills the table from a freshly scanned list and clears its flag; a list
// that did not change leaves the user's edits alone.
void AffLinkListToTable(CAffLinkList& list, CLinkTable& table);
// Stores the status texts and targets of the rows into the links.
void TableToAffLinkList(const CLinkTable& table, CAffLinkList& list);

}  // namespace smallset
