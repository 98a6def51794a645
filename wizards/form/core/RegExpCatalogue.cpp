#include "formwarden/RegExpCatalogue.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string_view>

#include "formwarden/FormResources.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/Text.h"

namespace formwarden {

namespace {

bool StartsWith(const std::string& text, std::size_t from, const char* prefix, std::string& rest) {
    const std::string_view p(prefix);
    if (text.compare(from, p.size(), p) != 0) {
        return false;
    }
    rest = text.substr(from + p.size());
    return true;
}

using ondrelo::CompareNoCase;

}  // namespace

void CRegExpCatalogue::Read(std::istream& in) {
    std::string name, expression, description, line, value;
    while (std::getline(in, line)) {
        // A file written with CR LF line ends reads the same as one with LF.
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::size_t first = 0;
        while (first < line.size() && std::isspace(static_cast<unsigned char>(line[first]))) {
            ++first;
        }
        if (first < line.size() && line[first] == ';') {
            continue;
        }
        if (StartsWith(line, first, "EXPNAME=", value)) {
            name = value;
        } else if (StartsWith(line, first, "REGEXP=", value)) {
            expression = value;
        } else if (StartsWith(line, first, "DESC=", value)) {
            description = value;
        }
        if (!name.empty() && !expression.empty() && !description.empty()) {
            m_entries.push_back({name, expression, description});
            name.clear();
            expression.clear();
            description.clear();
        }
    }
}

bool CRegExpCatalogue::ReadFile(const std::string& path) {
    m_entries.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    Read(in);
    return true;
}

bool CRegExpCatalogue::ReadFromSettings() {
    m_entries.clear();
    std::string path;
    if (!COndRegistryHandler::GetSettingsValue(kRegExpFileSetting, path) || path.empty()) {
        return false;
    }
    return ReadFile(path);
}

std::vector<int> CRegExpCatalogue::SortedIndices() const {
    std::vector<int> rows(m_entries.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<int>(i);
    }
    std::stable_sort(rows.begin(), rows.end(), [this](int a, int b) {
        return CompareNoCase(m_entries[a].m_strName, m_entries[b].m_strName) < 0;
    });
    return rows;
}

CRegExpChooser::CRegExpChooser(const CRegExpCatalogue& catalogue) : m_catalogue(catalogue) {}

void CRegExpChooser::Open(const std::string& currentExpression) {
    m_rows = m_catalogue.SortedIndices();
    int row = m_rows.empty() ? -1 : 0;
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_catalogue.Entries()[m_rows[i]].m_strExpression == currentExpression) {
            row = static_cast<int>(i);
            break;
        }
    }
    SelectRow(row);
}

const std::string& CRegExpChooser::GetRowName(int row) const {
    return m_catalogue.Entries().at(m_rows.at(row)).m_strName;
}

void CRegExpChooser::SelectRow(int row) {
    if (row < 0 || row >= GetRowCount()) {
        m_nSelected = -1;
        return;
    }
    m_nSelected = row;
    const SRegExpEntry& entry = m_catalogue.Entries()[m_rows[row]];
    m_strField = entry.m_strExpression;
    m_strHelp = entry.m_strDescription;
}

bool CRegExpChooser::Ok(std::string& result) const {
    if (!m_strField.empty()) {
        result = m_strField;
        return true;
    }
    if (m_nSelected < 0) {
        FormMessageBox("Please select a Regular expression from the list.", MB_OK | MB_ICONERROR);
        return false;
    }
    result = m_catalogue.Entries()[m_rows[m_nSelected]].m_strExpression;
    return true;
}

}  // namespace formwarden
