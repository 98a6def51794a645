#include "smallset/LinkTable.h"

#include <algorithm>

#include "ondrelo/Common.h"

namespace smallset {

const std::vector<std::string>& TargetChoices() {
    static const std::vector<std::string> choices = {"_blank", "_self", "_parent", "_top"};
    return choices;
}

CLinkTable::CLinkTable(std::vector<std::string> headers) {
    const std::size_t cols = headers.size();
    m_rows.push_back(std::move(headers));
    m_rows.emplace_back(cols);
}

const std::string& CLinkTable::GetCell(int row, int col) const {
    return m_rows.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(col));
}

void CLinkTable::SetCell(int row, int col, const std::string& text) {
    m_rows.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(col)) = text;
}

void CLinkTable::SetCurrent(int row, int col) {
    m_row = std::clamp(row, 1, GetRows() - 1);
    m_col = std::clamp(col, 0, GetCols() - 1);
}

void CLinkTable::InsertRowBelow(const std::vector<std::string>& cells) {
    std::vector<std::string> row(static_cast<std::size_t>(GetCols()));
    std::copy_n(cells.begin(), std::min(cells.size(), row.size()), row.begin());
    m_rows.insert(m_rows.begin() + m_row + 1, std::move(row));
    ++m_row;
}

bool CLinkTable::RemoveCurrentRow() {
    if (GetRows() <= 2) {
        return false;
    }
    m_rows.erase(m_rows.begin() + m_row);
    SetCurrent(m_row, m_col);
    return true;
}

void CLinkTable::Clear() {
    m_rows.resize(2);
    std::fill(m_rows[1].begin(), m_rows[1].end(), std::string());
    SetCurrent(1, m_col);
}

int CLinkTable::ColumnWidth(int clientWidth, int columns) {
    if (columns <= 0) {
        return 0;
    }
    return std::max(0, clientWidth - 4) / columns;
}

CLinkTable MakeDLinkTable() {
    CLinkTable table({"Label", "Link", "Target Window"});
    table.SetCell(1, kDLinkLabel, kPromptLabel);
    table.InsertRowBelow({"", "", "_blank"});
    table.SetCurrent(1, 0);
    return table;
}

void AddDLinkRow(CLinkTable& table) {
    table.InsertRowBelow({"", "", "_blank"});
}

bool RemoveDLinkRow(CLinkTable& table) {
    if (table.RemoveCurrentRow()) {
        return true;
    }
    CCommon::ShowMessageBox(kLastRowCantGo);
    return false;
}

void TableToDLinkList(const CLinkTable& table, CDLinkList& list) {
    list.RemoveAll();
    for (int row = 1; row < table.GetRows(); ++row) {
        list.Add(table.GetCell(row, kDLinkLabel), table.GetCell(row, kDLinkLink),
                 table.GetCell(row, kDLinkTarget));
    }
}

bool DLinkTableHasLinks(const CLinkTable& table) {
    if (table.GetRows() > 2) {
        return true;
    }
    CCommon::ShowErrorMessage(kNoLinksInList);
    return false;
}

CLinkTable MakeAffLinkTable() {
    return CLinkTable({"Label", "Link", "Statusbar Text", "Target Window"});
}

void AffLinkListToTable(CAffLinkList& list, CLinkTable& table) {
    if (!list.IsChanged()) {
        return;
    }
    table.Clear();
    const auto& links = list.Links();
    for (std::size_t i = 0; i < links.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        if (row >= table.GetRows()) {
            table.SetCurrent(row - 1, 0);
            table.InsertRowBelow({});
        }
        table.SetCell(row, kAffLabel, links[i].m_strLabel);
        table.SetCell(row, kAffLink, links[i].m_strHref);
        table.SetCell(row, kAffStatus, links[i].m_strStatusText);
        table.SetCell(row, kAffTarget, links[i].m_strTarget);
    }
    table.SetCurrent(1, 0);
    list.SetChanged(false);
}

void TableToAffLinkList(const CLinkTable& table, CAffLinkList& list) {
    auto& links = list.Links();
    for (int row = 1; row < table.GetRows() && static_cast<std::size_t>(row) <= links.size();
         ++row) {
        SAffLink& link = links[static_cast<std::size_t>(row - 1)];
        link.m_strStatusText = table.GetCell(row, kAffStatus);
        link.m_strTarget = table.GetCell(row, kAffTarget);
    }
}

}  // namespace smallset
