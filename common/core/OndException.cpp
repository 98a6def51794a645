#include "ondrelo/OndException.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "ondrelo/Common.h"
#include "ondrelo/Resources.h"

namespace {
const char* const kResourceFallback = "Error 1001: Resource Exception";
const char* const kUnknownFallback = "Error 1001: Unknown Exception";
}  // namespace

COndException::COndException() : m_strError("Unknown Exception") {}

COndException::~COndException() = default;

void COndException::SetError(unsigned textId, std::uint32_t code) {
    m_nCode = code;
    try {
        std::string text;
        // A number that no table holds is a resource error: the text says
        // so rather than staying empty.
        if (!ondrelo::LoadResString(textId, text)) {
            m_strError = kResourceFallback;
            return;
        }
        m_strError = std::move(text);
    } catch (const std::bad_alloc&) {
        m_strError = kResourceFallback;
    } catch (...) {
        m_strError = kUnknownFallback;
    }
}

void COndException::SetError(const std::string& text, std::uint32_t code) {
    m_nCode = code;
    try {
        m_strError = text;
    } catch (...) {
        m_strError = kUnknownFallback;
    }
}

void COndException::ReportError() const {
    CCommon::ShowErrorMessage("Error " + std::to_string(m_nCode) + ": " + m_strError);
}

void COndException::ThrowOndException(unsigned textId, std::uint32_t code) {
    auto* e = new (std::nothrow) COndException;
    if (!e) {
        CCommon::ShowErrorMessage("Unrecoverable Error Occured");
        return;
    }
    e->SetError(textId, code);
    throw e;
}

void COndException::ThrowOndException(const std::string& text, std::uint32_t code) {
    auto* e = new (std::nothrow) COndException;
    if (!e) {
        CCommon::ShowErrorMessage("Unrecoverable Error Occured");
        return;
    }
    e->SetError(text, code);
    throw e;
}

namespace ondrelo {

CFileException::CFileException(ECause cause, std::string path, int osError, const std::string& what)
    : std::runtime_error(what), m_cause(cause), m_path(std::move(path)), m_osError(osError) {}

CFileException::~CFileException() = default;

CFileException CFileException::FromErrno(int err, const std::string& path,
                                         const std::string& action) {
    ECause cause = generic;
    switch (err) {
        case ENOENT:
        case ENOTDIR:
            cause = fileNotFound;
            break;
        case EACCES:
        case EPERM:
        case EROFS:
            cause = accessDenied;
            break;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            cause = diskFull;
            break;
        case ENAMETOOLONG:
            cause = badPath;
            break;
        default:
            break;
    }
    return CFileException(cause, path, err, action + " '" + path + "': " + std::strerror(err));
}

CArchiveException::CArchiveException(ECause cause, std::string path, const std::string& what)
    : std::runtime_error(what), m_cause(cause), m_path(std::move(path)) {}

CArchiveException::~CArchiveException() = default;

}  // namespace ondrelo
