#include "smallset/LinkFile.h"

#include <vector>

namespace smallset {

namespace {

std::string EscapeColumn(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string UnescapeColumn(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = line.find(separator, start);
        parts.push_back(line.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) {
            return parts;
        }
        start = at + 1;
    }
}

}  // namespace

std::string FormatLinkLines(const CAffLinkList& list) {
    std::string out;
    for (const SAffLink& link : list.Links()) {
        out += EscapeColumn(link.m_strLabel) + '\t' + EscapeColumn(link.m_strHref) + '\t' +
               EscapeColumn(link.m_strStatusText) + '\t' + EscapeColumn(link.m_strTarget) + '\n';
    }
    return out;
}

bool ApplyLinkLines(const std::string& text, CAffLinkList& list, std::string& error) {
    std::vector<std::string> lines = Split(text, '\n');
    if (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    if (lines.size() != list.Links().size()) {
        error = "the file has " + std::to_string(lines.size()) + " lines, the page has " +
                std::to_string(list.Links().size()) + " links";
        return false;
    }
    std::vector<std::pair<std::string, std::string>> values;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string line = lines[i];
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const std::vector<std::string> columns = Split(line, '\t');
        if (columns.size() != 4) {
            error = "line " + std::to_string(i + 1) + " has " + std::to_string(columns.size()) +
                    " columns instead of 4";
            return false;
        }
        values.emplace_back(UnescapeColumn(columns[2]), UnescapeColumn(columns[3]));
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        list.Links()[i].m_strStatusText = values[i].first;
        list.Links()[i].m_strTarget = values[i].second;
    }
    return true;
}

}  // namespace smallset
