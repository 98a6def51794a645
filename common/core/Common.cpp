#include "ondrelo/Common.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <boost/regex.hpp>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "ondrelo/AtomicFile.h"
#include "ondrelo/OndException.h"
#include "ondrelo/OndRegistryHandler.h"
#include "ondrelo/Resources.h"
#include "ondrelo/Text.h"

const char* const CCommon::kProductName = "Ondrelo";
std::string CCommon::m_strMessageTitle;

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

using ondrelo::EqualNoCase;

// Copies source to destination through a temporary file in the
// destination's folder, so that the destination is either the old file or
// the complete new one, never a partial copy. Only a regular file is copied.
bool CopyFileAtomically(const std::string& source, const std::string& destination) {
    struct stat info {};
    if (::stat(source.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    std::ifstream in(source, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return false;
    }
    try {
        return ondrelo::ReplaceFileAtomically(destination, bytes);
    } catch (const ondrelo::CFileException&) {
        return false;
    }
}

}  // namespace

void CCommon::SetMessageTitle(const std::string& title) {
    m_strMessageTitle = title;
}

const std::string& CCommon::GetMessageTitle() {
    return m_strMessageTitle;
}

int CCommon::ShowMessageBox(const std::string& text, HWND owner, unsigned style) {
    return ondrelo::Prompt().MessageBox(owner, kProductName, text, style);
}

int CCommon::ShowMessageBox(unsigned textId, HWND owner, unsigned style) {
    return ShowMessageBox(ondrelo::ResString(textId), owner, style);
}

void CCommon::ShowErrorMessage(const std::string& text) {
    ShowMessageBox(text, nullptr, MB_OK | MB_ICONERROR);
}

void CCommon::ShowErrorMessage(unsigned textId) {
    ShowMessageBox(textId, nullptr, MB_OK | MB_ICONERROR);
}

// The parts are not cut to the old fixed buffer sizes (3 and 260
// characters): POSIX paths are often longer, and a shortened folder would
// give a wrong relative reference without any sign of failure.
void CCommon::SplitPath(const std::string& path, std::string& drive, std::string& dir,
                        std::string& name, std::string& ext) {
    drive.clear();
    dir.clear();
    name.clear();
    ext.clear();
    size_t pos = 0;
    if (HasDrive(path)) {
        drive = path.substr(0, 2);
        pos = 2;
    }
    size_t lastSep = std::string::npos;
    for (size_t i = pos; i < path.size(); ++i) {
        if (IsSeparator(path[i])) {
            lastSep = i;
        }
    }
    if (lastSep != std::string::npos) {
        dir = path.substr(pos, lastSep + 1 - pos);
        pos = lastSep + 1;
    }
    std::string file = path.substr(pos);
    size_t dot = file.rfind('.');
    if (dot == std::string::npos) {
        name = file;
    } else {
        name = file.substr(0, dot);
        ext = file.substr(dot);
    }
}

void CCommon::Tokenise(const std::string& text, const std::string& delimiters,
                       std::vector<std::string>& tokens) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t begin = text.find_first_not_of(delimiters, pos);
        if (begin == std::string::npos) {
            break;
        }
        size_t end = text.find_first_of(delimiters, begin);
        if (end == std::string::npos) {
            end = text.size();
        }
        tokens.push_back(text.substr(begin, end - begin));
        pos = end;
    }
}

bool CCommon::FindRelativePath(const std::string& from, const std::string& to,
                               std::string& result) {
    std::string drive1, dir1, name1, ext1;
    std::string drive2, dir2, name2, ext2;
    SplitPath(from, drive1, dir1, name1, ext1);
    SplitPath(to, drive2, dir2, name2, ext2);
    if (from.empty()) {
        result = name2 + ext2;
        return true;
    }
    if (!EqualNoCase(drive1, drive2)) {
        result = "Can't create relative path. The drives are not the same";
        return false;
    }
    std::vector<std::string> a, b;
    Tokenise(dir1, "\\/", a);
    Tokenise(dir2, "\\/", b);
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) {
        ++i;
    }
    std::string relative;
    for (size_t k = i; k < a.size(); ++k) {
        relative += "../";
    }
    for (size_t k = i; k < b.size(); ++k) {
        relative += b[k] + "/";
    }
    relative += name2 + ext2;
    result = relative;
    return true;
}

bool CCommon::CopyScriptFile(const std::string& source, const std::string& destination) {
    size_t sep = destination.find_last_of("\\/");
    if (sep != std::string::npos && sep > 0) {
        COndRegistryHandler::SetScriptCopyPath(destination.substr(0, sep));
    }
    return CopyFileAtomically(source, destination);
}

bool CCommon::ShowCopyJSFile(const std::string& fileName, std::string& chosenPath,
                             const std::string& startFolder) {
    ondrelo::SFileDialogSpec request;
    request.open = false;
    request.defaultExt = "*.js";
    request.fileName = fileName;
    request.filter = "JavaScript Files(*.js)|*.js|All Files (*.*)|*.*||";
    request.hideReadOnly = true;
    request.initialDir =
        startFolder.empty() ? COndRegistryHandler::GetPreviousScriptCopyPath() : startFolder;
    std::string path;
    if (!ondrelo::Prompt().FileDialog(request, path)) {
        return false;
    }
    chosenPath = path;
    return true;
}

bool CCommon::ShowOpenHtmlFile(std::string& path, ondrelo::ITextField* field) {
    ondrelo::SFileDialogSpec request;
    request.open = true;
    request.filter = "HTML Files (*.html;*.htm)|*.html; *.htm||";
    request.hideReadOnly = true;
    request.fileMustExist = true;
    request.resizable = true;
    std::string chosen;
    if (!ondrelo::Prompt().FileDialog(request, chosen)) {
        return false;
    }
    path = chosen;
    if (field) {
        field->SetText(chosen);
    }
    return true;
}

bool CCommon::RexExpMatch(const std::string& pattern, const std::string& text) {
    boost::regex re(pattern, boost::regex::normal);
    return boost::regex_match(text, re);
}

std::string CCommon::NormalizeFloat(double value) {
    char buffer[512];
    // Whole numbers print without decimals; values beyond the 32-bit range
    // are not truncated into it but printed in full below.
    if (std::isfinite(value) && value > static_cast<double>(INT_MIN) - 1.0 &&
        value < static_cast<double>(INT_MAX) + 1.0) {
        int n = static_cast<int>(value);
        if (std::fabs(value - n) < 0.00001) {
            std::snprintf(buffer, sizeof buffer, "%d", n);
            return buffer;
        }
    }
    std::snprintf(buffer, sizeof buffer, "%lf", value);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        size_t end = text.find_last_not_of('0');
        text.erase(end + 1);
        // A value that rounds up to a whole number at six decimals
        // ("1.000000") would otherwise keep a bare trailing point.
        if (!text.empty() && text.back() == '.') {
            text.pop_back();
        }
    }
    size_t first = text.find_first_not_of(' ');
    size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}
