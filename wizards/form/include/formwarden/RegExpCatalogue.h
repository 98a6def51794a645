// The catalogue of named regular expressions offered by the "List" button of
// the Textbox validation editor, and the chooser's logic without its window.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace formwarden {

struct SRegExpEntry {
    std::string m_strName;
    std::string m_strExpression;
    std::string m_strDescription;
};

// Name of the settings value that holds the catalogue file's full path.
inline constexpr const char* kRegExpFileSetting = "RegExpFile";
// File name of the catalogue shipped in the scripts folder.
inline constexpr const char* kRegExpCatalogueFileName = "regexp.txt";

class CRegExpCatalogue {
public:
    // Collects the entries of a catalogue text. Lines beginning (after
    // leading blanks) with ";" are comments; "EXPNAME=", "REGEXP=" and
    // "DESC=" set the parts of the entry being collected, which is added as
    // soon as all three are non-empty.
    void Read(std::istream& in);
    // Reads a catalogue file; false (and no entries) when it cannot be opened.
    bool ReadFile(const std::string& path);
    // Reads the file named by the "RegExpFile" setting; false when the
    // setting is missing or the file cannot be opened.
    bool ReadFromSettings();

    void Clear() { m_entries.clear(); }
    const std::vector<SRegExpEntry>& Entries() const { return m_entries; }
    // Entry indices in list order: by name, without regard to letter case;
    // equal names keep their file order.
    std::vector<int> SortedIndices() const;

private:
    std::vector<SRegExpEntry> m_entries;
};

// What the "Regular Expressions" dialog shows and returns, without a window:
// list rows (sorted names), the selected row, the expression field and the
// help text.
class CRegExpChooser {
public:
    explicit CRegExpChooser(const CRegExpCatalogue& catalogue);

    // Fills the rows and selects the entry whose expression equals the given
    // one exactly, or else the first row.
    void Open(const std::string& currentExpression);

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    const std::string& GetRowName(int row) const;
    int GetEntryIndex(int row) const { return m_rows.at(row); }

    // Selecting a row shows its expression and description; -1 selects none.
    void SelectRow(int row);
    int GetSelectedRow() const { return m_nSelected; }

    const std::string& GetExpressionField() const { return m_strField; }
    void SetExpressionField(const std::string& text) { m_strField = text; }
    const std::string& GetHelpText() const { return m_strHelp; }

    // OK: the field's text when not empty, else the selected entry's
    // expression. With neither, shows "Please select a Regular expression
    // from the list." and returns false (the dialog stays open).
    bool Ok(std::string& result) const;

private:
    const CRegExpCatalogue& m_catalogue;
    std::vector<int> m_rows;
    int m_nSelected = -1;
    std::string m_strField;
    std::string m_strHelp;
};

}  // namespace formwarden
