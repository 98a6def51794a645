// The links of a page as lines of text, one link a line with the columns
// label, href, status text and target separated by tabs. A backslash,
// tab, line feed or carriage return inside a column is written \\, \t, \n
// or \r, so that every link stays on one line.
#pragma once

#include <string>

#include "smallset/AffLink.h"

namespace smallset {

std::string FormatLinkLines(const CAffLinkList& list);

// Takes the status texts and targets of the lines into the links of the
// same position; the label and href columns are not used. The lines must
// be as many as the links; otherwise error says why and nothing changes.
bool ApplyLinkLines(const std::string& text, CAffLinkList& list, std::string& error);

}  // namespace smallset
